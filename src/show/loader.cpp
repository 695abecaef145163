#include "show/loader.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

#include "applet/objects.h"
#include "imaging/dib.h"
#include "imaging/palette.h"
#include "platform/guards.h"
#include "show/blockstore.h"
#include "show/compress.h"

namespace {

// The show file for one call. The file is untrusted: every position and
// length is checked against its size before anything is read or allocated,
// and a read counts only when it is whole.
class ShowFile {
public:
    explicit ShowFile(const char* path) : file_(path ? _lopen(path, OF_READ) : HFILE_ERROR)
    {
        if (file_ != HFILE_ERROR) {
            const LONG end = _llseek(file_, 0, FILE_END);
            length_ = end < 0 ? -1 : end;
        }
    }
    ~ShowFile()
    {
        if (file_ != HFILE_ERROR)
            _lclose(file_);
    }
    ShowFile(const ShowFile&) = delete;
    ShowFile& operator=(const ShowFile&) = delete;

    bool open() const { return file_ != HFILE_ERROR && length_ >= 0; }
    HFILE handle() const { return file_; }
    int64_t length() const { return length_; }

    bool SeekTo(int64_t position)
    {
        if (position < 0 || position > length_)
            return false;
        return _llseek(file_, static_cast<LONG>(position), FILE_BEGIN) == position;
    }
    bool SeekFromEnd(int64_t back) { return back >= 0 && back <= length_ && SeekTo(length_ - back); }
    bool Back(LONG bytes) { return _llseek(file_, -bytes, FILE_CURRENT) != HFILE_ERROR; }
    int64_t Position() { return _llseek(file_, 0, FILE_CURRENT); }

    bool Read(void* buffer, uint64_t bytes)
    {
        if (bytes == 0)
            return true;
        if (bytes > 0x7FFFFFFF)
            return false;
        return _lread(file_, buffer, static_cast<UINT>(bytes)) == bytes;
    }

    // `bytes` of the file into a new zero-filled movable block of `bytes` +
    // `extra`.
    HGLOBAL ReadMovable(uint64_t bytes, uint64_t extra = 0)
    {
        if (bytes > static_cast<uint64_t>(length_))
            return nullptr;
        GlobalBlockGuard mem(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(bytes + extra)));
        if (!mem)
            return nullptr;
        if (bytes > 0) {
            GlobalLockGuard<uint8_t> p(mem.get());
            if (!p || !Read(p.get(), bytes))
                return nullptr;
        }
        return mem.release();
    }

    // A zlib stream of `stored` bytes at the current position, inflated.
    HGLOBAL Inflate(uint64_t stored, unsigned long* inflated = nullptr)
    {
        unsigned long length = static_cast<unsigned long>(stored);
        HGLOBAL mem = UncompressDataFromFile(file_, &length, 1);
        if (inflated)
            *inflated = length;
        return mem;
    }

private:
    HFILE file_;
    int64_t length_ = -1;
};

// Sets the saver's own invisible cursor on every return.
struct SaverCursorOnReturn {
    ~SaverCursorOnReturn()
    {
#ifdef _WIN32
        SetCursor(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100)));
#endif
    }
};

// The preview picture after the HEAD header: a 40-byte header, the colour
// table, then the rows; all of it must lie within the HEAD block.
HGLOBAL ReadPreview(ShowFile& file, uint64_t available)
{
    BITMAPINFOHEADER info;
    if (available < sizeof info || !file.Read(&info, sizeof info))
        return nullptr;
    const int width = info.biWidth;
    const int height = info.biHeight;
    const unsigned bits = info.biBitCount;
    // Rows are read at the stored depth into a DIB of CreateDib's depth: the
    // two must be the same. A picture without pixels would leave its other
    // side unbounded by the block (a billion empty rows to read).
    if (width <= 0 || height <= 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return nullptr;
    const uint32_t colours = DibColourCount(bits);
    const uint64_t stride = DibStride(width, bits);
    if (sizeof info + 4ull * colours + stride * static_cast<uint64_t>(height) > available)
        return nullptr;

    uint8_t palette[PALETTE_BYTES] = {};
    for (uint32_t i = 0; i < colours; ++i) {
        uint8_t quad[4];
        if (!file.Read(quad, 4))
            return nullptr;
        palette[3 * i + 0] = quad[2];
        palette[3 * i + 1] = quad[1];
        palette[3 * i + 2] = quad[0];
    }
    GlobalBlockGuard dib(CreateDib(width, height, palette, static_cast<int>(bits)));
    if (!dib)
        return nullptr;
    {
        GlobalLockGuard<BITMAPINFOHEADER> header(dib.get());
        if (!header)
            return nullptr;
        uint8_t* rows = DibPixels(header.get());
        for (uint32_t row = 0; row < static_cast<uint32_t>(height); ++row)
            if (!file.Read(rows + row * stride, stride))
                return nullptr;
    }
    return dib.release();
}

// Steps shared by both loaders: the HEAD header at the show start, its CRC,
// and the preview picture as the block's payload.
bool ReadHead(ShowFile& file, BLOCK* block, uint32_t headerCrc, int64_t showStart)
{
    SCRHEAD& head = block->head;
    if (!file.Read(&head, HEAD_HEADER_SIZE) || head.tag != TAG_HEAD)
        return false;
    if (crc32(0, reinterpret_cast<const Bytef*>(&head), HEAD_HEADER_SIZE) != headerCrc)
        return false;
    // The block must hold its own header and lie within the file.
    if (head.size < HEAD_HEADER_SIZE || head.size > file.length() - showStart)
        return false;
    if (head.hasPreview == 1) {
        if (!(head.flags & HEAD_HAS_PREVIEW))
            return false;
        block->payload = ReadPreview(file, head.size - HEAD_HEADER_SIZE);
        if (block->payload == nullptr)
            return false;
    }
    return true;
}

// Opens the file and finds the show: steps 1 to 6 of both loaders.
bool OpenShow(ShowFile& file, BLOCKSET* set, BLOCK* block, int64_t* showStart)
{
    // Cleared first, so that a failure before the HEAD is read frees nothing.
    std::memset(block, 0, sizeof *block);
    if (!file.open())
        return false;
    SCRENDB trailer;
    if (!file.SeekFromEnd(ENDB_HEADER_SIZE) || !file.Read(&trailer, sizeof trailer) || trailer.tag != TAG_ENDB)
        return false;
    const uint32_t headerCrc = trailer.headerCrc ^ HEADERCRC_MASK;
    const uint32_t showLength = trailer.showLength ^ SHOWLENGTH_MASK;
    if (!file.SeekFromEnd(showLength))
        return false;
    *showStart = file.length() - showLength;
    CreateBlock(nullptr, set, block, TAG_HEAD, nullptr, 0);
    return ReadHead(file, block, headerCrc, *showStart);
}

// The header record of the block's own type within the BLOCK.
void* HeaderField(BLOCK* block, uint32_t tag)
{
    switch (tag) {
    case TAG_IMAG: return &block->imag;
    case TAG_TEXT: return &block->text;
    case TAG_SOND: return &block->sond;
    case TAG_APPL: return &block->appl;
    case TAG_ANIM: return &block->anim;
    default: return nullptr;
    }
}

// One applet object: its record, then its data, taken from `remaining`.
bool ReadAppletObject(ShowFile& file, bool picture, bool compressed, uint64_t* remaining, HGLOBAL* list,
                      int32_t* count)
{
    SCROBJECT stored;
    if (*remaining < OBJECT_HEADER_SIZE || !file.Read(&stored, sizeof stored))
        return false;
    *remaining -= OBJECT_HEADER_SIZE;
    if (picture ? stored.tag != TAG_PICT : (stored.tag != TAG_WAVE && stored.tag != TAG_MIDI))
        return false;
    if (stored.size > *remaining)
        return false;
    *remaining -= stored.size;

    APPLETOBJECT object{};
    object.tag = stored.tag;
    object.size = stored.size;
    object.number = static_cast<int32_t>(stored.number);
    GlobalBlockGuard data;
    if (picture && compressed) {
        HeapGuard buffer(std::malloc(static_cast<size_t>(stored.size) + 16));
        if (buffer.get() == nullptr || !file.Read(buffer.get(), stored.size))
            return false;
        unsigned long length = stored.size;
        data.reset(UncompressData(buffer.get(), &length, 1));
        object.size = static_cast<uint32_t>(length);
    } else {
        data.reset(file.ReadMovable(stored.size));
    }
    if (!data || (picture && !DibIsValid(data.get())))
        return false;
    object.data = data.get();
    if (!AddAppletObject(list, count, &object))
        return false;
    data.release();
    return true;
}

// The payload of a known block, read into the work block; false leaves what
// was read there for the caller to free.
bool ReadPayload(ShowFile& file, BLOCK* block, uint64_t length)
{
    switch (block->tag) {
    case TAG_IMAG:
    case TAG_ANIM: {
        const bool compressed = (block->tag == TAG_IMAG ? block->imag.flags : block->anim.flags) & BLOCK_COMPRESSED;
        block->payload = compressed ? file.Inflate(length) : file.ReadMovable(length);
        if (block->payload == nullptr)
            return false;
        // A picture whose header promises more than its block holds is
        // refused before anything reads its pixels.
        return block->tag != TAG_IMAG || DibIsValid(block->payload);
    }
    case TAG_TEXT:
        // The text is always followed by at least 16 zero bytes.
        block->payload = file.ReadMovable(length, 16);
        return block->payload != nullptr;
    case TAG_SOND:
        block->payload = file.ReadMovable(length);
        return block->payload != nullptr;
    case TAG_APPL: {
        uint64_t remaining = length;
        const SCRAPPL& appl = block->appl;
        // Every object takes at least its 32-byte record.
        if ((static_cast<uint64_t>(appl.pictureCount) + appl.soundCount) * OBJECT_HEADER_SIZE > remaining)
            return false;
        const bool compressed = appl.flags & BLOCK_COMPRESSED;
        for (uint32_t i = 0; i < appl.pictureCount; ++i)
            if (!ReadAppletObject(file, true, compressed, &remaining, &block->pictures, &block->pictureCount))
                return false;
        for (uint32_t i = 0; i < appl.soundCount; ++i)
            if (!ReadAppletObject(file, false, false, &remaining, &block->sounds, &block->soundCount))
                return false;
        // One zero byte more than the script, so that it always ends inside
        // its block.
        block->payload = file.ReadMovable(remaining, 1);
        return block->payload != nullptr;
    }
    default:
        return false;
    }
}

}  // namespace

int LoadScrFile(HWND list, BLOCKSET* set, const char* path)
{
    SaverCursorOnReturn cursor;
    ShowFile file(path);
    BLOCK work;
    int64_t showStart = 0;
    if (!OpenShow(file, set, &work, &showStart)) {
        DestroyBlock(&work);
        return 0;
    }
    if (!AppendBlock(list, set, &work)) {
        DestroyBlock(&work);
        return 0;
    }

    int64_t blockStart = showStart + work.head.size;
    int16_t counter = 0;
    for (;;) {
        uint32_t tag = 0, size = 0;
        if (!file.SeekTo(blockStart) || !file.Read(&tag, 4) || !file.Read(&size, 4) || !file.Back(8))
            return 0;
        // A block runs past the end of the file, or is too short to frame
        // the next one: the chain is broken.
        if (size > file.length() - blockStart || (size != 0 && size < sizeof(SCRBLOCKHEADER)))
            return 0;
        const uint32_t headerSize = HeaderSizeForTag(tag);
        if (tag != TAG_HEAD && tag != TAG_ENDB && headerSize != 0) {
            CreateBlock(nullptr, set, &work, tag, nullptr, 0);
            work.number = counter++;
            auto* header = static_cast<SCRBLOCKHEADER*>(HeaderField(&work, tag));
            if (size < headerSize || !file.Read(header, headerSize) || !(header->flags & BLOCK_VALID) ||
                !ReadPayload(file, &work, size - headerSize) || !AppendBlock(list, set, &work)) {
                DestroyBlock(&work);
                return 0;
            }
        }
        if (tag == TAG_ENDB || size == 0)
            break;
        blockStart += size;
    }
    std::strncpy(set->fileName, path, BLOCKSET_PATH - 1);
    set->fileName[BLOCKSET_PATH - 1] = '\0';
    return 1;
}

int LoadHeaderBlock(HWND, BLOCK* block, const char* path, BLOCKSET* set)
{
    ShowFile file(path);
    int64_t showStart = 0;
    if (!OpenShow(file, set, block, &showStart)) {
        DestroyBlock(block);
        return 0;
    }
    return 1;
}
