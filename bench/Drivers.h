// Runs of the installers being compared, driven by the robot as a person would drive them and
// timed with the performance counter. The robot answers every dialog with its default at once.
#pragma once

#include <string>

namespace bench {

// One unattended run of SETUP.EXE, in milliseconds. "Seen" means the robot found the dialog
// visible; a phase it did not see (a dialog shown for less than one poll) is negative.
struct SetupTimes {
    double toBackdrop = -1;   // launch -> backdrop visible
    double startUp = 0;       // launch -> Welcome visible
    double toDirectory = 0;   // Continue -> Install Directory visible
    double copy = 0;          // OK -> Create Application Group visible
    double toInstalling = -1; // OK -> Installing... visible
    double installing = -1;   // Installing... visible -> hidden
    double afterCopy = -1;    // Installing... hidden -> Create Application Group visible
    double toSuccess = 0;     // Skip -> Success visible
    double toExit = 0;        // OK on Success -> process ended
    double whole = 0;         // launch -> process ended
    double robot = 0;         // the rest of `whole`: the robot's reaction to the dialogs
};

// Starts <mediumDir>\SETUP.EXE, presses Continue, checks that the Install Directory dialog
// proposes `expectedDirectory` and presses OK, waits for Create Application Group, presses
// Skip, then OK on Success, and waits for the exit code 0. Fails on any message box.
bool RunSetup(const std::string& mediumDir, const std::string& expectedDirectory, SetupTimes* times,
              std::string* error);

struct NsisTimes {
    double startUp = 0; // launch -> installer window visible
    double copy = 0;    // Install pressed -> process ended (the window closes by itself)
    double whole = 0;   // launch -> process ended
};

// Starts an installer built from zel.nsi, presses Install on its directory page and waits
// while its progress page runs and the installer ends.
bool RunNsisWithProgressPage(const std::string& installer, NsisTimes* times, std::string* error);

// Runs an installer that needs nobody at the screen (the NSIS installer with /S, SETUP.EXE with
// /S /NOGROUP), from launch to exit, and fails unless it ends with exit code 0. `switches`
// follow the quoted program name on the command line.
bool RunSilent(const std::string& installer, const std::string& switches, double* whole,
               std::string* error);

// Starts the minimal dialog program, presses OK as soon as its dialog is visible and waits for
// its end: `startUp` is launch -> dialog visible, `whole` launch -> process ended.
bool RunMinimal(const std::string& exe, double* startUp, double* whole, std::string* error);

} // namespace bench
