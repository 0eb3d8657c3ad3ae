// skinc: compiles a skin source into a skin container, or dumps a container readably.
#include "skin/Skin.h"
#include "skin/SkinWriter.h"
#include "tools/skinc/SkinDumper.h"
#include "tools/skinc/SkinSource.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: skinc build <source.txt> <output.skin> [-I <image folder>]...\n"
                         "       skinc dump <container.skin> [<output.txt>]\n");
    return 2;
}

int Build(int argc, char **argv) {
    if (argc < 4)
        return Usage();
    std::string source = argv[2];
    std::string output = argv[3];
    std::vector<std::string> folders;
    for (int i = 4; i < argc; ++i) {
        if (std::string(argv[i]) == "-I" && i + 1 < argc)
            folders.push_back(argv[++i]);
        else
            return Usage();
    }
    size_t slash = source.find_last_of('/');
    folders.push_back(slash == std::string::npos ? "." : source.substr(0, slash));

    CSkinSource parsed;
    if (!parsed.Load(source, folders)) {
        std::fprintf(stderr, "%s\n", parsed.GetError().c_str());
        return 1;
    }
    CSkinWriter writer(parsed.GetMinor());
    writer.SetAuthor(parsed.GetAuthor().c_str());
    CSkinStream container;
    if (!writer.AddSkin(parsed.GetSkin()) || !writer.FinishContainer(container)) {
        std::fprintf(stderr, "%s: cannot write the skin\n", source.c_str());
        return 1;
    }
    // Read back what was written: a skin that its own reader refuses is never installed.
    CSkin check;
    if (!check.Read(container) || check.GetObjects().size() != parsed.GetSkin().GetObjects().size()) {
        std::fprintf(stderr, "%s: the written skin does not read back\n", source.c_str());
        return 1;
    }
    std::ofstream out(output, std::ios::binary);
    out.write(reinterpret_cast<const char *>(container.GetBuffer()), container.GetLength());
    if (!out) {
        std::fprintf(stderr, "%s: cannot write\n", output.c_str());
        return 1;
    }
    return 0;
}

int Dump(int argc, char **argv) {
    if (argc < 3 || argc > 4)
        return Usage();
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot open\n", argv[2]);
        return 1;
    }
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CSkinStream container;
    container.Create(bytes.data(), static_cast<DWORD>(bytes.size()));
    CSkin skin;
    if (!skin.Read(container)) {
        std::fprintf(stderr, "%s: not a readable skin container\n", argv[2]);
        return 1;
    }
    if (argc == 4) {
        std::ofstream out(argv[3]);
        out << "# " << argv[2] << ": container of " << bytes.size() << " bytes\n";
        CSkinDumper::Dump(skin, out);
        return out ? 0 : 1;
    }
    std::cout << "# " << argv[2] << ": container of " << bytes.size() << " bytes\n";
    CSkinDumper::Dump(skin, std::cout);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2)
        return Usage();
    std::string mode = argv[1];
    if (mode == "build")
        return Build(argc, argv);
    if (mode == "dump")
        return Dump(argc, argv);
    return Usage();
}
