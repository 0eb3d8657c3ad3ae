// Lets a Wine test drive the rig (scripts/rig.sh) and read what reached the simulated cards.
#pragma once

#include <string>
#include <vector>

class CRigControl {
public:
    struct Event {
        std::string kind; // INSERTED, POWER_ON, POWER_OFF, RESET, ATR, CMD, RSP, REMOVED, DISCONNECTED
        std::string hex;  // upper-case bytes for ATR, CMD and RSP
    };

    // Runs `rig.sh <args>` on the host and returns its exit status (-1 if it did not finish in time).
    static int Run(const std::string &args);
    // Forgets what the card in reader `slot` has logged so far.
    static void ClearLog(int slot);
    static std::vector<Event> ReadLog(int slot);
    // Only the commands (CMD lines), in order.
    static std::vector<std::string> Commands(int slot);
    static bool Has(const std::vector<Event> &log, const std::string &kind);
    // The rig's folder as a Windows path (Z:...).
    static std::string DosPath(const std::string &unixPath);
    static std::string RigDir();
};
