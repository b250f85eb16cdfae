#pragma once
// Which registry view the discovery reads. While non-zero, every key the
// discovery opens is opened in the 64-bit view; it is set only around the
// 64-bit Photoshop walk, and each stored candidate records it.
extern int Use64BitRegistryView;
