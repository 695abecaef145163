// The bytes of a show: the fixed header of every block type as it is stored
// in the file, the block tags and the trailer masks. All records are packed
// to their file layout; integers are little-endian, as on every target.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/kernel.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "show records are read in place as little-endian");

// A block tag is its four letters in file order, read as a little-endian
// 32-bit value: "HEAD" is 0x44414548.
constexpr uint32_t MakeTag(const char (&letters)[5])
{
    return static_cast<uint32_t>(static_cast<unsigned char>(letters[0])) |
           static_cast<uint32_t>(static_cast<unsigned char>(letters[1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(letters[2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(letters[3])) << 24;
}

constexpr uint32_t TAG_HEAD = MakeTag("HEAD");
constexpr uint32_t TAG_IMAG = MakeTag("IMAG");
constexpr uint32_t TAG_TEXT = MakeTag("TEXT");
constexpr uint32_t TAG_SOND = MakeTag("SOND");
constexpr uint32_t TAG_APPL = MakeTag("APPL");
constexpr uint32_t TAG_ANIM = MakeTag("ANIM");
constexpr uint32_t TAG_ENDB = MakeTag("ENDB");
// Kinds of sound and applet objects.
constexpr uint32_t TAG_WAVE = MakeTag("wave");
constexpr uint32_t TAG_MIDI = MakeTag("midi");
constexpr uint32_t TAG_PICT = MakeTag("pict");

static_assert(TAG_HEAD == 0x44414548, "tags are little-endian");
static_assert(TAG_WAVE == 0x65766177 && TAG_MIDI == 0x6964696D, "sound kinds are little-endian");

// The trailer stores these two values XORed with fixed masks.
constexpr uint32_t SHOWLENGTH_MASK = 0x2F83D047;
constexpr uint32_t HEADERCRC_MASK = 0x71E2B9A5;

// Block flag bits.
constexpr uint32_t BLOCK_VALID = 0x1;            // must be set on every block after HEAD
constexpr uint32_t HEAD_HAS_PREVIEW = 0x1;       // HEAD: a preview picture follows
constexpr uint32_t IMAG_REMAP = 0x4;             // reduce by nearest colour, not by dithering
constexpr uint32_t TEXT_TRANSPARENT = 0x20;      // text area takes the show background
constexpr uint32_t TEXT_BOLD = 0x40;
constexpr uint32_t TEXT_ITALIC = 0x80;
constexpr uint32_t TEXT_UNDERLINE = 0x100;
constexpr uint32_t TEXT_ERASE = 0x200;           // erase the text area when the slide ends
constexpr uint32_t SOND_HOLD = 0x4000;           // the show does not move on at once
constexpr uint32_t BLOCK_COMPRESSED = 0x8000;    // IMAG, ANIM payload; APPL pictures
constexpr uint32_t ANIM_ENDS_WITH_SLIDE = 0x10000;
constexpr uint32_t ANIM_ENDS_WITH_SHOW = 0x20000;
constexpr uint32_t ANIM_REDUCED_MARK = 0x100;    // used by a running animation only

constexpr uint32_t HEAD_VERSION = 0x00020061;

constexpr int POSITION_TOP_LEFT = 1;
constexpr int POSITION_TOP_RIGHT = 2;
constexpr int POSITION_BOTTOM_LEFT = 3;
constexpr int POSITION_BOTTOM_RIGHT = 4;

constexpr size_t SHOW_TEXT_FIELD = 262;

#pragma pack(push, 1)

// The 12 bytes every block starts with.
struct SCRBLOCKHEADER {
    uint32_t tag;
    uint32_t size;   // whole block: fixed header plus payload
    uint32_t flags;
};

struct SCRHEAD {
    uint32_t tag;
    uint32_t size;
    uint32_t flags;
    uint32_t version;
    int32_t screenWidth;
    int32_t screenHeight;
    COLORREF backgroundColour;
    int32_t created;                // seconds since 1970-01-01 UTC
    uint8_t unread[8];
    int16_t hasPreview;             // 1: a preview picture is the payload
    char ownerName[SHOW_TEXT_FIELD];
    char organisation[SHOW_TEXT_FIELD];
    char reserved[SHOW_TEXT_FIELD];
    char title[SHOW_TEXT_FIELD];
    char notice[1058];
};

struct SCRIMAG {
    uint32_t tag;
    uint32_t size;
    uint32_t flags;
    int32_t x;
    int32_t y;
    int32_t position;
    int32_t effectIn;
    int32_t effectOut;
    int32_t speed;                  // the cell timer runs every 81 - speed ms
    uint8_t unread1[4];
    int32_t holdTime;               // seconds of the wait phase
    uint8_t unread2[4];
    int32_t displayTime;            // 0 never, 1 after one cycle, n seconds
    uint8_t reserved[32];
};

struct SCRTEXT {
    uint32_t tag;
    uint32_t size;
    uint32_t flags;
    int32_t x;
    int32_t y;
    int32_t boxWidth;
    int32_t boxHeight;
    int32_t position;
    int32_t fontHeight;
    COLORREF textColour;
    COLORREF backColour;
    int32_t speed;
    int32_t displayTime;
    uint8_t unread1[4];
    int32_t mode;
    int32_t alignment;
    int32_t margin;
    char faceName[32];
    uint8_t unread2[262];
};

struct SCRSOND {
    uint32_t tag;
    uint32_t size;
    uint32_t flags;
    uint32_t kind;                  // TAG_WAVE or TAG_MIDI
    uint32_t dataSize;
    uint8_t unread[294];
};

struct SCRAPPL {
    uint32_t tag;
    uint32_t size;
    uint32_t flags;
    int32_t stackSize;
    uint32_t pictureCount;
    uint32_t soundCount;
    uint8_t unread[32];
};

struct SCRANIM {
    uint32_t tag;
    uint32_t size;
    uint32_t flags;
    int32_t x;
    int32_t y;
    int32_t position;
    uint8_t unread[40];
};

// The trailer: the last 52 bytes of the file.
struct SCRENDB {
    uint32_t tag;
    uint32_t size;
    uint32_t flags;
    uint32_t showLength;            // stored XOR SHOWLENGTH_MASK
    uint32_t headerCrc;             // stored XOR HEADERCRC_MASK
    uint32_t unread;
    uint8_t reserved[28];
};

// The record in front of each applet picture and sound, as stored.
struct SCROBJECT {
    uint32_t tag;                   // TAG_PICT, TAG_WAVE or TAG_MIDI
    uint32_t size;                  // data bytes that follow
    uint32_t number;
    uint32_t data;                  // meaningless in the file
    uint8_t reserved[16];
};

#pragma pack(pop)

constexpr uint32_t HEAD_HEADER_SIZE = 2148;
constexpr uint32_t IMAG_HEADER_SIZE = 84;
constexpr uint32_t TEXT_HEADER_SIZE = 362;
constexpr uint32_t SOND_HEADER_SIZE = 314;
constexpr uint32_t APPL_HEADER_SIZE = 56;
constexpr uint32_t ANIM_HEADER_SIZE = 64;
constexpr uint32_t ENDB_HEADER_SIZE = 52;
constexpr uint32_t OBJECT_HEADER_SIZE = 32;

static_assert(sizeof(SCRBLOCKHEADER) == 12);
static_assert(sizeof(SCRHEAD) == HEAD_HEADER_SIZE);
static_assert(sizeof(SCRIMAG) == IMAG_HEADER_SIZE);
static_assert(sizeof(SCRTEXT) == TEXT_HEADER_SIZE);
static_assert(sizeof(SCRSOND) == SOND_HEADER_SIZE);
static_assert(sizeof(SCRAPPL) == APPL_HEADER_SIZE);
static_assert(sizeof(SCRANIM) == ANIM_HEADER_SIZE);
static_assert(sizeof(SCRENDB) == ENDB_HEADER_SIZE);
static_assert(sizeof(SCROBJECT) == OBJECT_HEADER_SIZE);

static_assert(offsetof(SCRHEAD, backgroundColour) == 24);
static_assert(offsetof(SCRHEAD, created) == 28);
static_assert(offsetof(SCRHEAD, hasPreview) == 40);
static_assert(offsetof(SCRHEAD, ownerName) == 42);
static_assert(offsetof(SCRHEAD, organisation) == 304);
static_assert(offsetof(SCRHEAD, title) == 828);
static_assert(offsetof(SCRHEAD, notice) == 1090);

static_assert(offsetof(SCRIMAG, position) == 20);
static_assert(offsetof(SCRIMAG, speed) == 32);
static_assert(offsetof(SCRIMAG, holdTime) == 40);
static_assert(offsetof(SCRIMAG, displayTime) == 48);

static_assert(offsetof(SCRTEXT, fontHeight) == 32);
static_assert(offsetof(SCRTEXT, displayTime) == 48);
static_assert(offsetof(SCRTEXT, mode) == 56);
static_assert(offsetof(SCRTEXT, margin) == 64);
static_assert(offsetof(SCRTEXT, faceName) == 68);

static_assert(offsetof(SCRSOND, kind) == 12);
static_assert(offsetof(SCRSOND, dataSize) == 16);

static_assert(offsetof(SCRAPPL, stackSize) == 12);
static_assert(offsetof(SCRAPPL, soundCount) == 20);

static_assert(offsetof(SCRANIM, position) == 20);

static_assert(offsetof(SCRENDB, showLength) == 12);
static_assert(offsetof(SCRENDB, headerCrc) == 16);

static_assert(offsetof(SCROBJECT, number) == 8);
static_assert(offsetof(SCROBJECT, data) == 12);

// The fixed header size of a known block tag, or 0 for any other tag.
constexpr uint32_t HeaderSizeForTag(uint32_t tag)
{
    switch (tag) {
    case TAG_HEAD: return HEAD_HEADER_SIZE;
    case TAG_IMAG: return IMAG_HEADER_SIZE;
    case TAG_TEXT: return TEXT_HEADER_SIZE;
    case TAG_SOND: return SOND_HEADER_SIZE;
    case TAG_APPL: return APPL_HEADER_SIZE;
    case TAG_ANIM: return ANIM_HEADER_SIZE;
    case TAG_ENDB: return ENDB_HEADER_SIZE;
    default: return 0;
    }
}
