#include "common/ElementSlots.h"

void* ElementSlots[kElementSlotCount];
