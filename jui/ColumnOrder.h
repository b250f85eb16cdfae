#pragma once
// Order in which a picture is drawn column by column: from the middle
// outwards, alternately left and right, so a large picture drawn straight to
// the screen grows from its centre.

// The column visited i-th (0 <= i < width).
int CentreOutColumn(int width, int i);
