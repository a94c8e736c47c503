#pragma once
// The TWAIN 1.8 declarations the data source exchanges with its source
// manager and applications. Packed to 2 bytes as every TWAIN module packs
// them; handles and memory references are pointer-sized, TW_IDENTITY.Id is
// 32 bits. The offsets are pinned below: applications compiled elsewhere
// read these bytes.

#include <cstddef>
#include <cstdint>

namespace twain {

using TW_INT8 = std::int8_t;
using TW_UINT8 = std::uint8_t;
using TW_INT16 = std::int16_t;
using TW_UINT16 = std::uint16_t;
using TW_INT32 = std::int32_t;
using TW_UINT32 = std::uint32_t;
using TW_BOOL = std::uint16_t;
using TW_HANDLE = void*;
using TW_MEMREF = void*;
using TW_STR32 = char[34];
using TW_STR255 = char[256];

#pragma pack(push, 2)

struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
};

struct TW_FRAME {
    TW_FIX32 Left;
    TW_FIX32 Top;
    TW_FIX32 Right;
    TW_FIX32 Bottom;
};

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
};

struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
};

struct TW_ARRAY {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT8 ItemList[1];
};

struct TW_ENUMERATION {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT32 CurrentIndex;
    TW_UINT32 DefaultIndex;
    TW_UINT8 ItemList[1];
};

struct TW_RANGE {
    TW_UINT16 ItemType;
    TW_UINT32 MinValue;
    TW_UINT32 MaxValue;
    TW_UINT32 StepSize;
    TW_UINT32 DefaultValue;
    TW_UINT32 CurrentValue;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 Reserved;
};

struct TW_SETUPMEMXFER {
    TW_UINT32 MinBufSize;
    TW_UINT32 MaxBufSize;
    TW_UINT32 Preferred;
};

struct TW_SETUPFILEXFER {
    TW_STR255 FileName;
    TW_UINT16 Format;
    TW_INT16 VRefNum;
};

struct TW_IMAGEINFO {
    TW_FIX32 XResolution;
    TW_FIX32 YResolution;
    TW_INT32 ImageWidth;
    TW_INT32 ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};

struct TW_IMAGELAYOUT {
    TW_FRAME Frame;
    TW_UINT32 DocumentNumber;
    TW_UINT32 PageNumber;
    TW_UINT32 FrameNumber;
};

struct TW_MEMORY {
    TW_UINT32 Flags;
    TW_UINT32 Length;
    TW_MEMREF TheMem;
};

struct TW_IMAGEMEMXFER {
    TW_UINT16 Compression;
    TW_UINT32 BytesPerRow;
    TW_UINT32 Columns;
    TW_UINT32 Rows;
    TW_UINT32 XOffset;
    TW_UINT32 YOffset;
    TW_UINT32 BytesWritten;
    TW_MEMORY Memory;
};

struct TW_ELEMENT8 {
    TW_UINT8 Index;
    TW_UINT8 Channel1;
    TW_UINT8 Channel2;
    TW_UINT8 Channel3;
};

struct TW_PALETTE8 {
    TW_UINT16 NumColors;
    TW_UINT16 PaletteType;
    TW_ELEMENT8 Colors[256];
};

#pragma pack(pop)

static_assert(sizeof(TW_FIX32) == 4 && sizeof(TW_FRAME) == 16);
static_assert(sizeof(TW_VERSION) == 42);
static_assert(offsetof(TW_IDENTITY, Version) == 4 && offsetof(TW_IDENTITY, ProtocolMajor) == 46 &&
              offsetof(TW_IDENTITY, SupportedGroups) == 50 && offsetof(TW_IDENTITY, Manufacturer) == 54 &&
              offsetof(TW_IDENTITY, ProductFamily) == 88 && offsetof(TW_IDENTITY, ProductName) == 122 &&
              sizeof(TW_IDENTITY) == 156);
static_assert(offsetof(TW_CAPABILITY, hContainer) == 4 && sizeof(TW_CAPABILITY) == 4 + sizeof(void*));
static_assert(sizeof(TW_ONEVALUE) == 6 && offsetof(TW_ARRAY, ItemList) == 6 &&
              offsetof(TW_ENUMERATION, ItemList) == 14 && sizeof(TW_RANGE) == 22);
static_assert(offsetof(TW_USERINTERFACE, hParent) == 4 && sizeof(TW_STATUS) == 4);
static_assert(offsetof(TW_EVENT, TWMessage) == sizeof(void*) && sizeof(TW_PENDINGXFERS) == 6);
static_assert(sizeof(TW_SETUPFILEXFER) == 260 && sizeof(TW_SETUPMEMXFER) == 12);
static_assert(offsetof(TW_IMAGEINFO, SamplesPerPixel) == 16 && offsetof(TW_IMAGEINFO, BitsPerPixel) == 34 &&
              offsetof(TW_IMAGEINFO, Compression) == 40 && sizeof(TW_IMAGEINFO) == 42);
static_assert(sizeof(TW_IMAGELAYOUT) == 28);
static_assert(offsetof(TW_IMAGEMEMXFER, BytesPerRow) == 2 && offsetof(TW_IMAGEMEMXFER, Columns) == 6 &&
              offsetof(TW_IMAGEMEMXFER, Rows) == 10 && offsetof(TW_IMAGEMEMXFER, XOffset) == 14 &&
              offsetof(TW_IMAGEMEMXFER, YOffset) == 18 && offsetof(TW_IMAGEMEMXFER, BytesWritten) == 22 &&
              offsetof(TW_IMAGEMEMXFER, Memory) == 26 && offsetof(TW_IMAGEMEMXFER, Memory.Length) == 30 &&
              offsetof(TW_IMAGEMEMXFER, Memory.TheMem) == 34);
static_assert(sizeof(TW_PALETTE8) == 1028);

// Return codes.
inline constexpr TW_UINT16 TWRC_SUCCESS = 0;
inline constexpr TW_UINT16 TWRC_FAILURE = 1;
inline constexpr TW_UINT16 TWRC_DSEVENT = 4;
inline constexpr TW_UINT16 TWRC_NOTDSEVENT = 5;
inline constexpr TW_UINT16 TWRC_XFERDONE = 6;

// Condition codes.
inline constexpr TW_UINT16 TWCC_SUCCESS = 0;
inline constexpr TW_UINT16 TWCC_LOWMEMORY = 2;
inline constexpr TW_UINT16 TWCC_MAXCONNECTIONS = 4;
inline constexpr TW_UINT16 TWCC_OPERATIONERROR = 5;
inline constexpr TW_UINT16 TWCC_BADCAP = 6;
inline constexpr TW_UINT16 TWCC_BADPROTOCOL = 9;
inline constexpr TW_UINT16 TWCC_BADVALUE = 10;
inline constexpr TW_UINT16 TWCC_SEQERROR = 11;
inline constexpr TW_UINT16 TWCC_BADDEST = 12;
inline constexpr TW_UINT16 TWCC_CAPUNSUPPORTED = 13;
inline constexpr TW_UINT16 TWCC_CAPBADOPERATION = 14;
inline constexpr TW_UINT16 TWCC_CAPSEQERROR = 15;

// Groups.
inline constexpr TW_UINT32 DG_CONTROL = 1;
inline constexpr TW_UINT32 DG_IMAGE = 2;

// Data argument types.
inline constexpr TW_UINT16 DAT_NULL = 0x0000;
inline constexpr TW_UINT16 DAT_CAPABILITY = 0x0001;
inline constexpr TW_UINT16 DAT_EVENT = 0x0002;
inline constexpr TW_UINT16 DAT_IDENTITY = 0x0003;
inline constexpr TW_UINT16 DAT_PARENT = 0x0004;
inline constexpr TW_UINT16 DAT_PENDINGXFERS = 0x0005;
inline constexpr TW_UINT16 DAT_SETUPMEMXFER = 0x0006;
inline constexpr TW_UINT16 DAT_SETUPFILEXFER = 0x0007;
inline constexpr TW_UINT16 DAT_STATUS = 0x0008;
inline constexpr TW_UINT16 DAT_USERINTERFACE = 0x0009;
inline constexpr TW_UINT16 DAT_XFERGROUP = 0x000a;
inline constexpr TW_UINT16 DAT_IMAGEINFO = 0x0101;
inline constexpr TW_UINT16 DAT_IMAGELAYOUT = 0x0102;
inline constexpr TW_UINT16 DAT_IMAGEMEMXFER = 0x0103;
inline constexpr TW_UINT16 DAT_IMAGENATIVEXFER = 0x0104;
inline constexpr TW_UINT16 DAT_IMAGEFILEXFER = 0x0105;
inline constexpr TW_UINT16 DAT_PALETTE8 = 0x010a;

// Messages.
inline constexpr TW_UINT16 MSG_NULL = 0x0000;
inline constexpr TW_UINT16 MSG_GET = 0x0001;
inline constexpr TW_UINT16 MSG_GETCURRENT = 0x0002;
inline constexpr TW_UINT16 MSG_GETDEFAULT = 0x0003;
inline constexpr TW_UINT16 MSG_GETFIRST = 0x0004;
inline constexpr TW_UINT16 MSG_GETNEXT = 0x0005;
inline constexpr TW_UINT16 MSG_SET = 0x0006;
inline constexpr TW_UINT16 MSG_RESET = 0x0007;
inline constexpr TW_UINT16 MSG_QUERYSUPPORT = 0x0008;
inline constexpr TW_UINT16 MSG_XFERREADY = 0x0101;
inline constexpr TW_UINT16 MSG_CLOSEDSREQ = 0x0102;
inline constexpr TW_UINT16 MSG_OPENDSM = 0x0301;
inline constexpr TW_UINT16 MSG_CLOSEDSM = 0x0302;
inline constexpr TW_UINT16 MSG_OPENDS = 0x0401;
inline constexpr TW_UINT16 MSG_CLOSEDS = 0x0402;
inline constexpr TW_UINT16 MSG_USERSELECT = 0x0403;
inline constexpr TW_UINT16 MSG_GETFIRSTDS = MSG_GETFIRST;
inline constexpr TW_UINT16 MSG_DISABLEDS = 0x0501;
inline constexpr TW_UINT16 MSG_ENABLEDS = 0x0502;
inline constexpr TW_UINT16 MSG_PROCESSEVENT = 0x0601;
inline constexpr TW_UINT16 MSG_ENDXFER = 0x0701;

// Containers.
inline constexpr TW_UINT16 TWON_ARRAY = 3;
inline constexpr TW_UINT16 TWON_ENUMERATION = 4;
inline constexpr TW_UINT16 TWON_ONEVALUE = 5;
inline constexpr TW_UINT16 TWON_RANGE = 6;
inline constexpr TW_UINT16 TWON_DONTCARE16 = 0xffff;

// Item types.
inline constexpr TW_UINT16 TWTY_INT8 = 0;
inline constexpr TW_UINT16 TWTY_INT16 = 1;
inline constexpr TW_UINT16 TWTY_INT32 = 2;
inline constexpr TW_UINT16 TWTY_UINT8 = 3;
inline constexpr TW_UINT16 TWTY_UINT16 = 4;
inline constexpr TW_UINT16 TWTY_UINT32 = 5;
inline constexpr TW_UINT16 TWTY_BOOL = 6;
inline constexpr TW_UINT16 TWTY_FIX32 = 7;
inline constexpr TW_UINT16 TWTY_FRAME = 8;
inline constexpr TW_UINT16 TWTY_STR32 = 9;
inline constexpr TW_UINT16 TWTY_STR64 = 10;
inline constexpr TW_UINT16 TWTY_STR128 = 11;
inline constexpr TW_UINT16 TWTY_STR255 = 12;

// Capability query bits.
inline constexpr TW_UINT32 TWQC_GET = 0x01;
inline constexpr TW_UINT32 TWQC_SET = 0x02;
inline constexpr TW_UINT32 TWQC_GETDEFAULT = 0x04;
inline constexpr TW_UINT32 TWQC_GETCURRENT = 0x08;
inline constexpr TW_UINT32 TWQC_RESET = 0x10;

// Capabilities.
inline constexpr TW_UINT16 CAP_XFERCOUNT = 0x0001;
inline constexpr TW_UINT16 ICAP_COMPRESSION = 0x0100;
inline constexpr TW_UINT16 ICAP_PIXELTYPE = 0x0101;
inline constexpr TW_UINT16 ICAP_UNITS = 0x0102;
inline constexpr TW_UINT16 ICAP_XFERMECH = 0x0103;
inline constexpr TW_UINT16 CAP_FEEDERLOADED = 0x1003;
inline constexpr TW_UINT16 CAP_SUPPORTEDCAPS = 0x1005;
inline constexpr TW_UINT16 CAP_AUTOFEED = 0x1007;
inline constexpr TW_UINT16 CAP_INDICATORS = 0x100b;
inline constexpr TW_UINT16 CAP_UICONTROLLABLE = 0x100e;
inline constexpr TW_UINT16 CAP_DEVICEONLINE = 0x100f;
inline constexpr TW_UINT16 ICAP_AUTOBRIGHT = 0x1100;
inline constexpr TW_UINT16 ICAP_BRIGHTNESS = 0x1101;
inline constexpr TW_UINT16 ICAP_CONTRAST = 0x1103;
inline constexpr TW_UINT16 ICAP_HALFTONES = 0x1109;
inline constexpr TW_UINT16 ICAP_HIGHLIGHT = 0x110a;
inline constexpr TW_UINT16 ICAP_IMAGEFILEFORMAT = 0x110c;
inline constexpr TW_UINT16 ICAP_ORIENTATION = 0x1110;
inline constexpr TW_UINT16 ICAP_PHYSICALWIDTH = 0x1111;
inline constexpr TW_UINT16 ICAP_PHYSICALHEIGHT = 0x1112;
inline constexpr TW_UINT16 ICAP_SHADOW = 0x1113;
inline constexpr TW_UINT16 ICAP_FRAMES = 0x1114;
inline constexpr TW_UINT16 ICAP_XNATIVERESOLUTION = 0x1116;
inline constexpr TW_UINT16 ICAP_YNATIVERESOLUTION = 0x1117;
inline constexpr TW_UINT16 ICAP_MAXFRAMES = 0x111a;
inline constexpr TW_UINT16 ICAP_BITORDER = 0x111c;
inline constexpr TW_UINT16 ICAP_PIXELFLAVOR = 0x111f;
inline constexpr TW_UINT16 ICAP_PLANARCHUNKY = 0x1120;
inline constexpr TW_UINT16 ICAP_SUPPORTEDSIZES = 0x1122;
inline constexpr TW_UINT16 ICAP_THRESHOLD = 0x1123;
inline constexpr TW_UINT16 ICAP_BITDEPTH = 0x112b;
inline constexpr TW_UINT16 ICAP_BITDEPTHREDUCTION = 0x112c;
inline constexpr TW_UINT16 ICAP_UNDEFINEDIMAGESIZE = 0x112d;
inline constexpr TW_UINT16 ICAP_MINIMUMHEIGHT = 0x1130;
inline constexpr TW_UINT16 ICAP_MINIMUMWIDTH = 0x1131;

// Values.
inline constexpr TW_UINT16 TWPF_CHOCOLATE = 0, TWPF_VANILLA = 1;
inline constexpr TW_UINT16 TWSX_NATIVE = 0, TWSX_FILE = 1, TWSX_MEMORY = 2;
inline constexpr TW_UINT16 TWPC_CHUNKY = 0, TWPC_PLANAR = 1;
inline constexpr TW_UINT16 TWCP_NONE = 0;
inline constexpr TW_UINT16 TWUN_INCHES = 0, TWUN_CENTIMETERS = 1, TWUN_PIXELS = 5;
inline constexpr TW_UINT16 TWOR_ROT0 = 0, TWOR_ROT90 = 1, TWOR_ROT180 = 2, TWOR_ROT270 = 3;
inline constexpr TW_UINT16 TWPT_GRAY = 1, TWPT_RGB = 2;
inline constexpr TW_UINT16 TWBR_THRESHOLD = 0, TWBR_HALFTONE = 1, TWBR_DIFFUSION = 3;
inline constexpr TW_UINT16 TWBO_LSBFIRST = 0, TWBO_MSBFIRST = 1;
inline constexpr TW_UINT16 TWFF_TIFF = 0, TWFF_BMP = 2;
inline constexpr TW_UINT16 TWSS_USLETTER = 1;
inline constexpr TW_UINT16 TWPA_GRAY = 1, TWPA_CIE = 2;
inline constexpr TW_UINT32 TWMF_APPOWNS = 0x1, TWMF_POINTER = 0x8, TWMF_HANDLE = 0x10;

}  // namespace twain
