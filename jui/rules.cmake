set(PART_RULES PlainRect.cpp TileGrid.cpp ColumnOrder.cpp CopyMapping.cpp SelectorRules.cpp PickerGeometry.cpp
  ScaleRules.cpp Inflate.cpp PackedPicture.cpp Resample.cpp)
