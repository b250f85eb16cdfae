set(PART_RULES ResourceName.cpp SkipList.cpp PresetKinds.cpp PayloadOutcome.cpp WriteRetry.cpp)
