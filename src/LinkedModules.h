#pragma once
// For the programs that link the modules' code in (vetrinora_linked_modules:
// the tests, the benchmarks, the test writers) instead of opening the
// modules from the program folder: every later look-up of the formats,
// channel and charts modules finds that code, and no file is opened.
void linkModulesIn();
