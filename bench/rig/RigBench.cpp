// APDUs per second on the rig: 1,000 GET CHALLENGE exchanges made natively with pcsc-lite, then the
// same 1,000 from a Wine program through the test-only winscard.dll and the bridge, and their ratio.
// Starts its own rig (in the build folder) and stops it afterwards.
#include <PCSC/winscard.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int kCount = 1000;
// Best of a few rounds on each side: the machine is shared, and slow rounds measure the neighbours.
const int kRounds = 3;
const char kReader[] = "Virtual PCD 00 00";

std::string Quote(const std::string &s) {
    return "'" + s + "'";
}

int Rig(const std::string &args) {
    return std::system((Quote(std::string(QX_ROOT_DIR) + "/scripts/rig.sh") + " " + args + " >/dev/null").c_str());
}

double NativeRate() {
    SCARDCONTEXT ctx = 0;
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &ctx) != SCARD_S_SUCCESS ||
        SCardConnect(ctx, kReader, SCARD_SHARE_SHARED, SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1, &card, &protocol) !=
            SCARD_S_SUCCESS)
        return 0;
    const BYTE cmd[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    SCARD_IO_REQUEST pci{protocol, sizeof(SCARD_IO_REQUEST)};
    BYTE rsp[512];
    for (int i = 0; i < 20; ++i) {
        DWORD len = sizeof rsp;
        SCardTransmit(card, &pci, cmd, sizeof cmd, nullptr, rsp, &len);
    }
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kCount; ++i) {
            DWORD len = sizeof rsp;
            if (SCardTransmit(card, &pci, cmd, sizeof cmd, nullptr, rsp, &len) != SCARD_S_SUCCESS || len != 10)
                return 0;
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (kCount / seconds > best)
            best = kCount / seconds;
    }
    SCardDisconnect(card, SCARD_LEAVE_CARD);
    SCardReleaseContext(ctx);
    return best;
}

double WineRate() {
    const char *client = std::getenv("QX_RIG_BENCH_CLIENT");
    std::string exe = client ? client : std::string(QX_ROOT_DIR) + "/build/win32/bench/rig/rig_bench_client.exe";
    std::string cmd = "WINEDLLOVERRIDES='winscard=n;mscoree,mshtml=;winemenubuilder.exe=d' " +
                      Quote(std::string(QX_ROOT_DIR) + "/scripts/wine-run.sh") + " " + Quote(exe) + " " +
                      std::to_string(kCount) + " " + std::to_string(kRounds) + " 2>/dev/null";
    FILE *p = popen(cmd.c_str(), "r");
    if (!p)
        return 0;
    char line[256];
    double rate = 0;
    while (std::fgets(line, sizeof line, p)) {
        if (std::sscanf(line, "apdus_per_second %lf", &rate) != 1)
            std::fprintf(stderr, "client: %s", line);
    }
    pclose(p);
    return rate;
}

} // namespace

int main() {
    setenv("QX_RIG_DIR", QX_BENCH_RIG_DIR, 1);
    setenv("QX_RIG_BRIDGE_BIN", QX_BENCH_BRIDGE, 0);
    setenv("PCSCLITE_CSOCK_NAME", QX_BENCH_RIG_DIR "/run/pcscd/pcscd.comm", 1);
    Rig("stop");
    if (Rig("start") != 0) {
        std::fprintf(stderr, "rig_bench: the rig did not start\n");
        return 1;
    }
    double native = NativeRate();
    double wine = WineRate();
    Rig("stop");
    std::printf("rig_bench: %d GET CHALLENGE exchanges, best of %d rounds each\n", kCount, kRounds);
    std::printf("  native pcsc-lite:        %10.1f APDU/s\n", native);
    std::printf("  Wine shim + bridge:      %10.1f APDU/s\n", wine);
    if (native <= 0 || wine <= 0) {
        std::fprintf(stderr, "rig_bench: a run failed\n");
        return 1;
    }
    std::printf("  cost of the bridge:      %10.2fx (native rate / Wine rate; goal under 2x)\n", native / wine);
    return 0;
}
