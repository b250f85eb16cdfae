set(PART_RULES InstallFolder.cpp ResourceName.cpp ResourceNameEncode.cpp SkipList.cpp PresetKinds.cpp PayloadOutcome.cpp WriteRetry.cpp
  TemporaryName.cpp)
