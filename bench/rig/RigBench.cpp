// APDUs per second on the rig: 1,000 GET CHALLENGE exchanges made natively with pcsc-lite, then the
// same 1,000 from a Wine program through the test-only winscard.dll and the bridge, and their ratio.
// Starts its own rig (in the build folder) and stops it afterwards.
#include "tools/pcscbridge/BridgeProtocol.h"
#include "tools/pcscbridge/WireReader.h"
#include "tools/pcscbridge/WireWriter.h"

#include <PCSC/winscard.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <vector>
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

// One request and its answer over the bridge's socket; the answer's payload in `payload`.
bool BridgeCall(int fd, CWireWriter &request, std::vector<std::uint8_t> &payload) {
    const auto &msg = request.Finish();
    if (::send(fd, msg.data(), msg.size(), 0) != ssize_t(msg.size()))
        return false;
    std::vector<std::uint8_t> in;
    std::uint8_t buf[4096];
    while (in.size() < 4 || in.size() < 4 + (in[0] | in[1] << 8 | in[2] << 16 | std::size_t(in[3]) << 24)) {
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            return false;
        in.insert(in.end(), buf, buf + n);
    }
    payload.assign(in.begin() + 4, in.end());
    return payload.size() >= 4;
}

// The bridge alone, without Wine: a native client of its wire format.
double BridgeRate() {
    std::ifstream portFile(std::string(QX_BENCH_RIG_DIR) + "/" + BridgeProtocol::kPortFile);
    unsigned port = 0;
    portFile >> port;
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(std::uint16_t(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    double best = 0;
    std::vector<std::uint8_t> payload;
    std::uint32_t rc = 1, ctx = 0, card = 0;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0) {
        CWireWriter establish;
        establish.U8(BridgeProtocol::OP_ESTABLISH);
        establish.U32(SCARD_SCOPE_SYSTEM);
        CWireWriter connect;
        if (BridgeCall(fd, establish, payload)) {
            CWireReader r(payload.data(), payload.size());
            r.U32(rc);
            r.U32(ctx);
        }
        connect.U8(BridgeProtocol::OP_CONNECT);
        connect.U32(ctx);
        connect.U32(SCARD_SHARE_SHARED);
        connect.U32(SCARD_PROTOCOL_T0 | SCARD_PROTOCOL_T1);
        connect.Bytes(kReader, sizeof kReader - 1);
        if (rc == 0 && BridgeCall(fd, connect, payload)) {
            CWireReader r(payload.data(), payload.size());
            r.U32(rc);
            r.U32(card);
        } else {
            rc = 1;
        }
    }
    const std::uint8_t cmd[] = {0x00, 0x84, 0x00, 0x00, 0x08};
    for (int round = 0; rc == 0 && round < kRounds; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < kCount && rc == 0; ++i) {
            CWireWriter transmit;
            transmit.U8(BridgeProtocol::OP_TRANSMIT);
            transmit.U32(card);
            transmit.U32(0);
            transmit.U32(512);
            transmit.Bytes(cmd, sizeof cmd);
            if (!BridgeCall(fd, transmit, payload))
                rc = 1;
            else
                CWireReader(payload.data(), payload.size()).U32(rc);
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (rc == 0 && kCount / seconds > best)
            best = kCount / seconds;
    }
    ::close(fd);
    return rc == 0 ? best : 0;
}

double WineRate() {
    const char *client = std::getenv("QX_RIG_BENCH_CLIENT");
    // The Windows tree that runs under Wine on this machine (scripts/win-arch.sh; run-bench.sh exports it).
    const char *tree = std::getenv("QX_WIN_TREE");
    std::string exe = client ? client
                             : std::string(QX_ROOT_DIR) + "/build/" + (tree ? tree : "win32") +
                                   "/bench/rig/rig_bench_client.exe";
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
    double bridge = BridgeRate();
    double wine = WineRate();
    Rig("stop");
    std::printf("rig_bench: %d GET CHALLENGE exchanges, best of %d rounds each\n", kCount, kRounds);
    std::printf("  native pcsc-lite:        %10.1f APDU/s\n", native);
    std::printf("  native client of bridge: %10.1f APDU/s\n", bridge);
    std::printf("  Wine shim + bridge:      %10.1f APDU/s\n", wine);
    if (native <= 0 || wine <= 0) {
        std::fprintf(stderr, "rig_bench: a run failed\n");
        return 1;
    }
    std::printf("  cost of the bridge:      %10.2fx (native rate / Wine rate; goal under 2x)\n", native / wine);
    return 0;
}
