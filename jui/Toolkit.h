#pragma once
// Everything the application uses of the widget toolkit.
#include "jui/Attach.h"
#include "jui/BitmapCache.h"
#include "jui/BitmapDraw.h"
#include "jui/JAncor.h"
#include "jui/JBitmap.h"
#include "jui/JButton.h"
#include "jui/JContext.h"
#include "jui/JElement.h"
#include "jui/JPanel.h"
#include "jui/JSelector.h"
