#pragma once
// A program started with standard input, output or error closed (`>&-`) would
// hand those numbers to the next files it opens: the serial port would become
// descriptor 1, and everything printed would go onto the line to the ECU.

// Points every closed descriptor among 0, 1 and 2 at /dev/null. Call it first
// thing in main, before anything is opened. False when one could not be filled.
bool KeepStandardStreamsOpen();
