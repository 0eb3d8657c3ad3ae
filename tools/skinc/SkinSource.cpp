#include "tools/skinc/SkinSource.h"

#include "skin/SkinFrameObject.h"
#include "tools/skinc/SkinFieldTable.h"
#include "tools/skinc/SkinFieldValue.h"

#include <fstream>
#include <iterator>
#include <sstream>

CSkinSource::CSkinSource() : m_nMinor(SKIN_NEWEST_MINOR_VERSION), m_nLine(0) {}

bool CSkinSource::Fail(const std::string &message) {
    m_error = m_path + ":" + std::to_string(m_nLine) + ": " + message;
    return false;
}

bool CSkinSource::Load(const std::string &path, const std::vector<std::string> &imageFolders) {
    m_path = path;
    std::ifstream input(path);
    if (!input)
        return Fail("cannot open the source");
    return Parse(input, imageFolders);
}

bool CSkinSource::LoadImage(const std::string &name, const std::string &file, const std::vector<std::string> &folders) {
    for (const std::string &folder : folders) {
        std::ifstream in(folder + "/" + file, std::ios::binary);
        if (!in)
            continue;
        std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto image = std::make_unique<CSkinImageObject>();
        image->SetName(name.c_str());
        if (!image->SetData(CSkinImage::FORMAT_BMP, bytes.data(), static_cast<DWORD>(bytes.size())))
            return Fail("image file " + file + " does not decode as BMP");
        m_skin.AddImage(std::move(image));
        return true;
    }
    return Fail("image file " + file + " not found");
}

// Source lines:
//   minor <n> | author "<text>" | image "<name>" <file.bmp> | plain "<name>"
//   object "<name>" <kind>  ... end        (kind: a keyword such as frame, or a number)
// inside an object: <field> <values>, "child-kind <n>", "caption "<name>" ... end", "menubar ... end".
bool CSkinSource::Parse(std::istream &input, const std::vector<std::string> &imageFolders) {
    // The open blocks: the object, then a caption button or the menu bar inside it.
    std::vector<CSkinObject *> stack;
    std::unique_ptr<CSkinObject> current;
    std::unique_ptr<CSkinObject> caption;
    std::string line;
    while (std::getline(input, line)) {
        ++m_nLine;
        std::vector<std::string> tokens;
        if (!CSkinFieldValue::Tokenize(line, &tokens))
            return Fail("unterminated quoted text");
        if (tokens.empty() || tokens[0][0] == '#')
            continue;
        const std::string &word = tokens[0];
        std::vector<std::string> values(tokens.begin() + 1, tokens.end());
        if (stack.empty()) {
            if (word == "minor" && values.size() == 1) {
                long long v = 0;
                if (!CSkinFieldValue::ParseNumber(values[0], &v) || v < 1 || v > SKIN_NEWEST_MINOR_VERSION)
                    return Fail("minor version 1 to 5 expected");
                m_nMinor = static_cast<BYTE>(v);
            } else if (word == "author" && values.size() == 1) {
                if (values[0].size() >= CSkin::AUTHOR_SIZE)
                    return Fail("author text too long");
                m_author = values[0];
            } else if (word == "image" && values.size() == 2) {
                if (values[0].empty() || values[0].size() >= CSkinObject::NAME_SIZE)
                    return Fail("image name empty or too long");
                if (!LoadImage(values[0], values[1], imageFolders))
                    return false;
            } else if (word == "plain" && values.size() == 1) {
                auto plain = std::make_unique<CSkinObject>(SKIN_KIND_PLAIN);
                plain->SetName(values[0].c_str());
                m_skin.AddPlain(std::move(plain));
            } else if (word == "object" && values.size() == 2) {
                DWORD kind = 0;
                long long number = 0;
                if (!CSkinFieldTable::KindFromName(values[1], &kind)) {
                    if (!CSkinFieldValue::ParseNumber(values[1], &number))
                        return Fail("unknown kind " + values[1]);
                    kind = static_cast<DWORD>(number);
                }
                if (!CSkin::IsObjectKind(kind))
                    return Fail("kind " + values[1] + " is not an object kind");
                if (values[0].size() >= CSkinObject::NAME_SIZE)
                    return Fail("object name too long");
                current = CSkinObject::Create(kind);
                current->SetName(values[0].c_str());
                stack.push_back(current.get());
            } else {
                return Fail("unknown statement " + word);
            }
            continue;
        }
        CSkinObject *target = stack.back();
        if (word == "end" && values.empty()) {
            stack.pop_back();
            if (stack.empty()) {
                m_skin.AddObject(std::move(current));
            } else if (caption && target == caption.get()) {
                stack.back()->AddChild(SKIN_KIND_CAPTION_BUTTON, std::move(caption));
            }
        } else if (word == "caption" && values.size() == 1 && stack.size() == 1) {
            caption = CSkinObject::Create(SKIN_KIND_CAPTION_BUTTON);
            caption->SetName(values[0].c_str());
            stack.push_back(caption.get());
        } else if (word == "menubar" && values.empty() && stack.size() == 1 && target->GetKind() == SKIN_KIND_FRAME) {
            stack.push_back(&static_cast<CSkinFrameObject *>(target)->m_menuBar);
        } else if (word == "child-kind" && values.size() == 1 && stack.size() == 1) {
            long long v = 0;
            if (!CSkinFieldValue::ParseNumber(values[0], &v) || v == SKIN_KIND_CAPTION_BUTTON)
                return Fail("child kind number other than 3 expected");
            target->AddChild(static_cast<DWORD>(v), nullptr);
        } else {
            const CSkinFieldTable::Field *field = CSkinFieldTable::Find(target->GetKind(), word);
            if (field == nullptr)
                return Fail("no field " + word + " in a " + CSkinFieldTable::KindName(target->GetKind()));
            std::string expected;
            if (!CSkinFieldValue::Parse(*field, values, field->at(*target), &expected))
                return Fail(word + ": expected " + expected);
        }
    }
    if (!stack.empty())
        return Fail("missing end");
    return true;
}
