set(PART_RULES PlainRect.cpp TileGrid.cpp ColumnOrder.cpp CopyMapping.cpp SelectorRules.cpp PickerGeometry.cpp)
