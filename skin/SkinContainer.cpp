#include "skin/SkinContainer.h"

#include <lzo/lzo1x.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

DWORD ReadLe32(const BYTE *p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

} // namespace

DWORD CSkinContainer::DeclaredLength(const CSkinStream &source) {
    if (source.GetBuffer() == nullptr || source.GetLength() < HEADER_SIZE)
        return 0;
    return ReadLe32(source.GetBuffer());
}

bool CSkinContainer::Decompress(const CSkinStream &source, CSkinStream &dest) {
    dest.Destroy();
    if (lzo_init() != LZO_E_OK)
        return false;
    if (source.GetBuffer() == nullptr || source.GetLength() < HEADER_SIZE)
        return false;
    DWORD declared = ReadLe32(source.GetBuffer());
    if (declared == 0 || declared > MAX_DECLARED_LENGTH)
        return false;
    std::unique_ptr<BYTE[]> work(new (std::nothrow) BYTE[declared]);
    if (!work)
        return false;
    lzo_uint produced = declared;
    int rc = lzo1x_decompress_safe(source.GetBuffer() + HEADER_SIZE, source.GetLength() - HEADER_SIZE, work.get(),
                                   &produced, nullptr);
    if (rc != LZO_E_OK || produced != declared)
        return false;
    CSkinStream out(CSkinStream::DEFAULT_GROWTH);
    if (out.Write(work.get(), declared) != declared)
        return false;
    dest = std::move(out);
    return true;
}

bool CSkinContainer::Compress(const void *data, DWORD size, CSkinStream &dest) {
    dest.Destroy();
    if (data == nullptr || size == 0 || size > MAX_DECLARED_LENGTH)
        return false;
    if (lzo_init() != LZO_E_OK)
        return false;
    // LZO1X's documented worst case for incompressible input.
    size_t bound = static_cast<size_t>(size) + size / 16 + 64 + 3;
    std::vector<BYTE> packed(HEADER_SIZE + bound);
    std::vector<BYTE> workMemory(LZO1X_1_MEM_COMPRESS);
    lzo_uint packedSize = bound;
    if (lzo1x_1_compress(static_cast<const BYTE *>(data), size, packed.data() + HEADER_SIZE, &packedSize,
                         workMemory.data()) != LZO_E_OK)
        return false;
    packed[0] = static_cast<BYTE>(size);
    packed[1] = static_cast<BYTE>(size >> 8);
    packed[2] = static_cast<BYTE>(size >> 16);
    packed[3] = static_cast<BYTE>(size >> 24);
    CSkinStream out(CSkinStream::DEFAULT_GROWTH);
    DWORD total = static_cast<DWORD>(HEADER_SIZE + packedSize);
    if (out.Write(packed.data(), total) != total)
        return false;
    dest = std::move(out);
    return true;
}
