# The filter's parts that need no system call: built into the plug-in and,
# natively, into the unit tests and the fuzz targets.
set(PART_RULES ReliefSettings.cpp ImageModes.cpp ReliefKernel.cpp ParallelRows.cpp FilterBands.cpp
    ReliefFilter.cpp HostRecord.cpp SettingsHandle.cpp ScriptedSettings.cpp PreviewPicture.cpp ImageProxy.cpp PiplReader.cpp)
# Read by the tests and the fuzz targets only: the plug-in itself never reads
# a property list.
set(PART_TEST_ONLY PiplReader.cpp)
