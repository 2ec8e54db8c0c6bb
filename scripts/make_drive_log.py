#!/usr/bin/env python3
"""A log of a test drive as F6 writes it (a byte-order mark, a decimal
point, the first set's sixteen columns), for the log viewer's pictures:
twenty minutes at 220 ms over midnight, the engine warming up until the
coolant runs past its range for a while.

    scripts/make_drive_log.py OUT.csv
"""
import datetime
import math
import sys

CODES = [("NMOT", "об/мин"), ("TWAT", "°C"), ("TFUEL", "°C"), ("PBOOST", "кПа")]
start = datetime.datetime(2026, 12, 8, 23, 50, 0)
rows = 20 * 60 * 1000 // 220
with open(sys.argv[1], "w", encoding="utf-8-sig", newline="") as out:
    out.write("time," + ",".join(f"{code} [{unit}]" for code, unit in CODES) + "\n")
    for row in range(rows):
        t = row * 0.22
        time = start + datetime.timedelta(milliseconds=220 * row)
        drive = 0.5 + 0.5 * math.sin(t / 45.0) * math.sin(t / 7.0)
        speed = 800 + 1900 * max(0.0, drive) + 40 * math.sin(t * 3.1)
        coolant = 20 + 100 * (1 - math.exp(-t / 300.0)) + (25 if 700 < t < 760 else 0)
        fuel = 15 + 25 * (1 - math.exp(-t / 600.0))
        boost = 100 + 120 * max(0.0, drive - 0.3)
        values = [speed, coolant, fuel, boost]
        out.write(time.strftime("%Y-%m-%dT%H:%M:%S.") + f"{time.microsecond // 1000:03d},")
        out.write(",".join(f"{v:.1f}" for v in values) + "\n")
