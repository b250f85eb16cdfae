#include "app/DialogState.h"

MainLayout WindowLayout;
int InstallDone;
