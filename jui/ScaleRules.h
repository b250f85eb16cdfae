#pragma once
// The display scale: lengths of the 100 % design (96 dots per inch) at the
// display's dots per inch, the picture sets the program carries and which
// of them serves a scale. No system calls.
constexpr int kDesignDpi = 96;

// A length or position of the 100 % design at dpi, rounded to the nearest
// pixel (halves away from zero). dpi 0 counts as the design's own.
int ScaledLength(int designLength, int dpi);
// The design length that ScaledLength turns into length (exact for dpi >= 96).
int DesignLength(int length, int dpi);

// The dots per inch of the picture sets, smallest first; the first is the
// 100 % design's own pictures.
constexpr int kPictureSetDpis[] = {96, 144, 192, 288};
constexpr int kPictureSetCount = sizeof kPictureSetDpis / sizeof kPictureSetDpis[0];

// The set that serves dpi: the one drawn for it, else the nearest larger
// one (reduced to size), else the largest.
int PictureSetFor(int dpi);

// Resource id of picture `designId` in the set for setDpi (the design's
// own id in the 96 set). Ids of the 100 % pictures are below 1000.
unsigned PictureSetResourceId(unsigned designId, int setDpi);

// The size of a picture of the design at dpi. A strip of square frames
// (width a whole number of times the height) scales frame by frame, so that
// it stays a strip of the same number of frames.
void ScaledPictureSize(int designWidth, int designHeight, int dpi, int* width, int* height);
