set(PART_RULES PayloadTypes.cpp MainLayout.cpp FolderEntries.cpp IndicatorRule.cpp FailureMessage.cpp)
