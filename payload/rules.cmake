set(PART_RULES ResourceName.cpp ResourceNameEncode.cpp SkipList.cpp PresetKinds.cpp PayloadOutcome.cpp WriteRetry.cpp TemporaryName.cpp)
