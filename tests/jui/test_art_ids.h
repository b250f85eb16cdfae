#pragma once
// The ids of the toolkit tests' bitmaps, shared by their resource script and
// the tests.
#define TEST_BACKGROUND_ID 222  // 100 x 50
#define TEST_BUTTON_ID 203      // 58 x 19, white and near-white pixels
#define TEST_CHECK_ID 128       // 52 x 13, four frames, some white
#define TEST_GRID_ID 150        // 104 x 52, eight 26 x 26 cells
#define TEST_TALL_ID 151        // 78 x 26, three 26 x 26 frames
#define TEST_WIDE_ID 152        // 40 x 10, two 20 x 10 frames
// One 37 x 9 picture in the compact forms of the installer's artwork:
// 8-bit palette, RLE8, 4-bit palette, RLE4.
#define TEST_PAL8_ID 153
#define TEST_RLE8_ID 154
#define TEST_PAL4_ID 155
#define TEST_RLE4_ID 156
// A cursor id the test resources do not have, so LinkCursor stays null.
#define TEST_NO_CURSOR_ID 120
