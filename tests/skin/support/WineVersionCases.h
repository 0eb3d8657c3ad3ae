// Test programs with cases that need a given Windows version (the skin engine's platform code comes from it). Wine
// gives a program the version of its AppDefaults key, read once at start, so such cases run in a child process of
// the same program started with the key set.
//
// A test suite named "<Name>_<version>" (ScrollControl_winxp) runs only in the child for that version. The program's
// main is RunTestsWithWineVersions: it runs the other cases, then one child per version with that version's suites,
// whose output it passes on; the program fails when any of them fails.
#pragma once

#include <string>
#include <vector>

int RunTestsWithWineVersions(int argc, char **argv, const std::vector<std::string> &versions);
// The version this process was started for by its parent; empty in the parent.
std::string WineVersionOfThisCase();
// "5.1" and the like: the version the system reports to this process.
std::string ReportedWindowsVersion();
