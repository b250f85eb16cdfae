set(PART_RULES ReliefKernel.cpp FilterBands.cpp ReliefFilter.cpp PiplReader.cpp)
