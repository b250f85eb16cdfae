set(PART_RULES RectRules.cpp TileGrid.cpp ColumnOrder.cpp CopyMapping.cpp SelectorRules.cpp PickerGeometry.cpp)
