#include "tools/skinc/SkinDumper.h"

#include "skin/SkinFrameObject.h"
#include "tools/skinc/SkinFieldTable.h"
#include "tools/skinc/SkinFieldValue.h"

#include <cstring>

void CSkinDumper::Dump(const CSkin &skin, std::ostream &out) {
    out << "# skin file version " << int(skin.GetMajorVersion()) << "." << int(skin.GetMinorVersion()) << ", "
        << skin.GetDeclaredObjectCount() << " object records declared\n";
    out << "minor " << int(skin.GetMinorVersion()) << "\n";
    out << "author " << CSkinFieldValue::Quote(skin.GetAuthor(), CSkin::AUTHOR_SIZE) << "\n\n";
    for (const auto &entry : skin.GetImages()) {
        const CSkinImageObject &image = *entry.second;
        out << "# image " << CSkinFieldValue::Quote(image.GetName(), CSkinObject::NAME_SIZE) << ": format "
            << image.GetFormat() << ", " << image.GetData().size() << " bytes";
        if (const CSkinImage *decoded = image.GetImage())
            out << ", " << decoded->GetWidth() << " x " << decoded->GetHeight() << " x " << decoded->GetBpp();
        else
            out << ", does not decode";
        out << "\n";
    }
    for (const auto &entry : skin.GetPlainRecords())
        out << "plain " << CSkinFieldValue::Quote(entry.second->GetName(), CSkinObject::NAME_SIZE) << "\n";
    for (const auto &entry : skin.GetObjects()) {
        const CSkinObject &object = *entry.second;
        const char *kind = CSkinFieldTable::KindName(object.GetKind());
        out << "\nobject " << CSkinFieldValue::Quote(object.GetName(), CSkinObject::NAME_SIZE) << " "
            << (kind != nullptr ? kind : std::to_string(object.GetKind()).c_str()) << "\n";
        DumpObject(object, out, "    ");
        out << "end\n";
    }
}

void CSkinDumper::DumpObject(const CSkinObject &object, std::ostream &out, const std::string &indent) {
    // Fields equal to a fresh object's defaults are left out.
    std::unique_ptr<CSkinObject> defaults = CSkinObject::Create(object.GetKind());
    CSkinObject &self = const_cast<CSkinObject &>(object);
    for (const CSkinFieldTable::Field &field : CSkinFieldTable::Fields(object.GetKind())) {
        const void *at = field.at(self);
        if (defaults && std::memcmp(at, field.at(*defaults), field.size) == 0)
            continue;
        out << indent << field.name << " " << CSkinFieldValue::Format(field, at) << "\n";
    }
    for (const CSkinObject::Child &child : object.GetChildren()) {
        if (!child.object) {
            out << indent << "child-kind " << child.dwKind << "\n";
            continue;
        }
        out << indent << "caption " << CSkinFieldValue::Quote(child.object->GetName(), CSkinObject::NAME_SIZE) << "\n";
        DumpObject(*child.object, out, indent + "    ");
        out << indent << "end\n";
    }
    if (object.GetKind() == SKIN_KIND_FRAME) {
        out << indent << "menubar\n";
        DumpObject(static_cast<const CSkinFrameObject &>(object).m_menuBar, out, indent + "    ");
        out << indent << "end\n";
    }
}
