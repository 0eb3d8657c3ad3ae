// The PC/SC bridge daemon: serves the test-only winscard.dll of Wine programs with the host's
// pcsc-lite. `--list` instead prints the readers and whether each holds a card (used by the rig).
#include "tools/pcscbridge/BridgeServer.h"

#include <PCSC/winscard.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

CBridgeServer *g_server = nullptr;

void OnSignal(int) {
    if (g_server)
        g_server->Stop();
}

int ListReaders() {
    SCARDCONTEXT ctx = 0;
    long rv = SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &ctx);
    if (rv != SCARD_S_SUCCESS) {
        std::fprintf(stderr, "pcscd: 0x%lx\n", static_cast<unsigned long>(rv));
        return 1;
    }
    DWORD n = 0;
    rv = SCardListReaders(ctx, nullptr, nullptr, &n);
    std::vector<char> list(n ? n : 1);
    if (rv == SCARD_S_SUCCESS)
        rv = SCardListReaders(ctx, nullptr, list.data(), &n);
    if (rv == SCARD_E_NO_READERS_AVAILABLE) {
        SCardReleaseContext(ctx);
        return 0;
    }
    if (rv != SCARD_S_SUCCESS) {
        std::fprintf(stderr, "list: 0x%lx\n", static_cast<unsigned long>(rv));
        SCardReleaseContext(ctx);
        return 1;
    }
    list.push_back(0);
    for (const char *p = list.data(); *p; p += std::strlen(p) + 1) {
        SCARD_READERSTATE st{};
        st.szReader = p;
        st.dwCurrentState = SCARD_STATE_UNAWARE;
        rv = SCardGetStatusChange(ctx, 0, &st, 1);
        bool present = rv == SCARD_S_SUCCESS && (st.dwEventState & SCARD_STATE_PRESENT);
        std::printf("%s\t%s\t", p, present ? "present" : "empty");
        for (DWORD i = 0; present && i < st.cbAtr && i < sizeof st.rgbAtr; ++i)
            std::printf("%02X", st.rgbAtr[i]);
        std::printf("\n");
    }
    SCardReleaseContext(ctx);
    return 0;
}

bool WritePortFile(const std::string &path, unsigned port) {
    std::string tmp = path + ".tmp";
    FILE *f = std::fopen(tmp.c_str(), "w");
    if (!f)
        return false;
    bool ok = std::fprintf(f, "%u\n", port) > 0;
    ok = std::fclose(f) == 0 && ok;
    return ok && std::rename(tmp.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char **argv) {
    unsigned long port = 0;
    std::string portFile;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--list")
            return ListReaders();
        if (a == "--port" && i + 1 < argc) {
            char *end = nullptr;
            port = std::strtoul(argv[++i], &end, 10);
            if (*end || port > 65535) {
                std::fprintf(stderr, "bridge: bad port\n");
                return 2;
            }
        } else if (a == "--port-file" && i + 1 < argc) {
            portFile = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--port N] [--port-file PATH] | --list\n", argv[0]);
            return 2;
        }
    }
    std::signal(SIGPIPE, SIG_IGN);
    CBridgeServer server;
    std::string error;
    if (!server.Listen(static_cast<std::uint16_t>(port), error)) {
        std::fprintf(stderr, "bridge: %s\n", error.c_str());
        return 1;
    }
    if (!portFile.empty() && !WritePortFile(portFile, server.Port())) {
        std::fprintf(stderr, "bridge: cannot write %s\n", portFile.c_str());
        return 1;
    }
    g_server = &server;
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    std::fprintf(stderr, "bridge: listening on 127.0.0.1:%u\n", server.Port());
    server.Serve();
    // Sessions may be in the middle of pcsc-lite calls; leave without running destructors under
    // them. pcscd releases whatever their connections held.
    std::fflush(stderr);
    std::_Exit(0);
}
