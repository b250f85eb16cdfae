set(PART_RULES PathRules.cpp CandidateForm.cpp FolderCandidates.cpp RegistryView.cpp KeyPathStack.cpp
               PluginFolderValue.cpp FoundAt.cpp CommandLineFolder.cpp)
