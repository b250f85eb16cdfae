#!/usr/bin/env python3
"""OpenCV's filter2D with the 3 x 3 kernel of the relief at the filter's default
settings, 128 + ((E + S + SE) - (W + N + NW)) / 2, on the same generated
24-megapixel RGB images as the kernel alone, in memory, on every core: the
peer of our kernel (bench/filter.sh).

    opencv_relief.py WORK_DIR RUNS

Reads WORK_DIR/rgb8.ppm and rgb16.ppm (written by filter_bench) and prints one
line per image: "opencv.rgb<depth> <megapixels per second> <best ms>".
"""
import os
import sys
import time

import cv2
import numpy as np


def main():
    work, runs = sys.argv[1], int(sys.argv[2])
    cv2.setNumThreads(os.cpu_count() or 1)
    kernel = np.array([[-0.5, -0.5, 0.0], [-0.5, 0.0, 0.5], [0.0, 0.5, 0.5]], np.float32)
    for depth, middle in ((8, 128), (16, 32768)):
        image = cv2.imread(os.path.join(work, f"rgb{depth}.ppm"), cv2.IMREAD_UNCHANGED)
        if image is None:
            continue
        out = np.empty_like(image)
        best = None
        for _ in range(runs):
            start = time.perf_counter()
            cv2.filter2D(image, -1, kernel, dst=out, delta=middle, borderType=cv2.BORDER_REPLICATE)
            seconds = time.perf_counter() - start
            best = seconds if best is None or seconds < best else best
        megapixels = image.shape[0] * image.shape[1] / 1e6
        print(f"opencv.rgb{depth} {megapixels / best:.1f} {best * 1000:.1f}")


if __name__ == "__main__":
    main()
