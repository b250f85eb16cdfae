set(PART_RULES PayloadTypes.cpp)
