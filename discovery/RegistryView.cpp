#include "RegistryView.h"

int Use64BitRegistryView = 0;
