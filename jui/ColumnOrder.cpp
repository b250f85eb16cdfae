#include "jui/ColumnOrder.h"

int CentreOutColumn(int width, int i) {
  const int middle = width / 2;
  return (i % 2 == 0) ? middle + i / 2 : middle - i / 2 - 1;
}
