#include "show/writer.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

#include "platform/guards.h"
#include "show/compress.h"

namespace {

void Put(ShowBytes& bytes, const void* data, size_t n)
{
    const auto* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + n);
}

template <typename Header>
void PutBlock(SHOWWRITER* writer, Header& header, const ShowBytes& payload)
{
    header.size = static_cast<uint32_t>(sizeof header + payload.size());
    Put(writer->bytes, &header, sizeof header);
    Put(writer->bytes, payload.data(), payload.size());
}

// The payload as stored: compressed when asked, setting bit 15.
ShowBytes Stored(SHOWWRITER* writer, const ShowBytes& data, bool compress, uint32_t* flags)
{
    if (!compress)
        return data;
    ShowBytes stream;
    if (!ShowCompress(data, &stream))
        writer->failed = true;
    *flags |= BLOCK_COMPRESSED;
    return stream;
}

void CopyText(char* field, size_t size, const char* text)
{
    std::strncpy(field, text ? text : "", size - 1);
    field[size - 1] = '\0';
}

}  // namespace

SCRHEAD ShowDefaultHead(const char* title, COLORREF background)
{
    SCRHEAD head{};
    head.tag = TAG_HEAD;
    head.size = HEAD_HEADER_SIZE;
    head.version = HEAD_VERSION;
    head.backgroundColour = background;
    head.created = static_cast<int32_t>(std::time(nullptr));
    CopyText(head.title, sizeof head.title, title);
    return head;
}

bool ShowCompress(const ShowBytes& data, ShowBytes* stream)
{
    GlobalBlockGuard input(GlobalAlloc(GMEM_MOVEABLE, data.size() ? data.size() : 1));
    if (!input)
        return false;
    if (!data.empty()) {
        GlobalLockGuard<uint8_t> p(input.get());
        if (!p)
            return false;
        std::memcpy(p.get(), data.data(), data.size());
    }
    long length = static_cast<long>(data.size());
    void* out = CompressData(input.get(), &length, 9);
    if (out == nullptr)
        return false;
    stream->assign(static_cast<uint8_t*>(out), static_cast<uint8_t*>(out) + length);
    std::free(out);
    return true;
}

void ShowWriterBegin(SHOWWRITER* writer)
{
    writer->bytes.clear();
    writer->failed = false;
}

void ShowWriteHead(SHOWWRITER* writer, SCRHEAD head, const ShowBytes* preview)
{
    head.tag = TAG_HEAD;
    if (preview) {
        head.hasPreview = 1;
        head.flags |= HEAD_HAS_PREVIEW;
    }
    PutBlock(writer, head, preview ? *preview : ShowBytes{});
}

void ShowWriteImage(SHOWWRITER* writer, SCRIMAG header, const ShowBytes& dib, bool compress)
{
    header.tag = TAG_IMAG;
    header.flags |= BLOCK_VALID;
    PutBlock(writer, header, Stored(writer, dib, compress, &header.flags));
}

void ShowWriteText(SHOWWRITER* writer, SCRTEXT header, const std::string& text)
{
    header.tag = TAG_TEXT;
    header.flags |= BLOCK_VALID;
    ShowBytes payload(text.begin(), text.end());
    payload.push_back(0);
    PutBlock(writer, header, payload);
}

void ShowWriteSound(SHOWWRITER* writer, SCRSOND header, const ShowBytes& data)
{
    header.tag = TAG_SOND;
    header.flags |= BLOCK_VALID;
    header.dataSize = static_cast<uint32_t>(data.size());
    PutBlock(writer, header, data);
}

void ShowWriteApplet(SHOWWRITER* writer, SCRAPPL header, const std::vector<SHOWOBJECT>& pictures,
                     const std::vector<SHOWOBJECT>& sounds, const std::string& script, bool compressPictures)
{
    header.tag = TAG_APPL;
    header.flags |= BLOCK_VALID;
    if (compressPictures)
        header.flags |= BLOCK_COMPRESSED;
    header.pictureCount = static_cast<uint32_t>(pictures.size());
    header.soundCount = static_cast<uint32_t>(sounds.size());
    ShowBytes payload;
    auto putObject = [&](const SHOWOBJECT& object, bool compress) {
        uint32_t unused = 0;
        const ShowBytes data = Stored(writer, object.data, compress, &unused);
        SCROBJECT record{};
        record.tag = object.kind;
        record.size = static_cast<uint32_t>(data.size());
        record.number = static_cast<uint32_t>(object.number);
        Put(payload, &record, sizeof record);
        Put(payload, data.data(), data.size());
    };
    for (const SHOWOBJECT& picture : pictures)
        putObject(picture, compressPictures);
    for (const SHOWOBJECT& sound : sounds)
        putObject(sound, false);
    Put(payload, script.data(), script.size());
    PutBlock(writer, header, payload);
}

void ShowWriteAnimation(SHOWWRITER* writer, SCRANIM header, const ShowBytes& payload, bool compress)
{
    header.tag = TAG_ANIM;
    header.flags |= BLOCK_VALID;
    PutBlock(writer, header, Stored(writer, payload, compress, &header.flags));
}

void ShowWriteRaw(SHOWWRITER* writer, const void* header, size_t headerSize, const ShowBytes& payload, bool fixSize)
{
    const size_t start = writer->bytes.size();
    Put(writer->bytes, header, headerSize);
    if (fixSize && headerSize >= 8) {
        const uint32_t size = static_cast<uint32_t>(headerSize + payload.size());
        std::memcpy(writer->bytes.data() + start + 4, &size, 4);
    }
    Put(writer->bytes, payload.data(), payload.size());
}

ShowBytes ShowWriterFinish(SHOWWRITER* writer)
{
    if (writer->failed || writer->bytes.size() < HEAD_HEADER_SIZE)
        return {};
    SCRENDB trailer{};
    trailer.tag = TAG_ENDB;
    trailer.size = ENDB_HEADER_SIZE;
    trailer.showLength = static_cast<uint32_t>(writer->bytes.size() + ENDB_HEADER_SIZE) ^ SHOWLENGTH_MASK;
    trailer.headerCrc = static_cast<uint32_t>(crc32(0, writer->bytes.data(), HEAD_HEADER_SIZE)) ^ HEADERCRC_MASK;
    ShowBytes show = writer->bytes;
    Put(show, &trailer, sizeof trailer);
    return show;
}

bool ShowAppendToPlayer(const std::string& player, const std::string& output, const ShowBytes& show,
                        std::string* error)
{
    std::ifstream in(player, std::ios::binary);
    if (!in) {
        *error = "cannot read player " + player + ": " + std::strerror(errno);
        return false;
    }
    ShowBytes image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A player that already carries a show gives it up for the new one.
    if (image.size() >= ENDB_HEADER_SIZE) {
        SCRENDB trailer;
        std::memcpy(&trailer, image.data() + image.size() - ENDB_HEADER_SIZE, sizeof trailer);
        const uint32_t length = trailer.showLength ^ SHOWLENGTH_MASK;
        if (trailer.tag == TAG_ENDB && length >= HEAD_HEADER_SIZE + ENDB_HEADER_SIZE && length <= image.size()) {
            uint32_t tag;
            std::memcpy(&tag, image.data() + image.size() - length, 4);
            if (tag == TAG_HEAD)
                image.resize(image.size() - length);
        }
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out) {
        *error = "cannot write " + output + ": " + std::strerror(errno);
        return false;
    }
    out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    out.write(reinterpret_cast<const char*>(show.data()), static_cast<std::streamsize>(show.size()));
    out.close();
    if (!out) {
        *error = "cannot write " + output + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
