/** @file
  The check points, the entry types of each category, the duplicate keys and the code
  tables that turn a major warning code into this board's warning code.
**/
#include "WarnLogCheck.h"

#define COUNT_OF(Array)  (sizeof (Array) / sizeof ((Array)[0]))

CONST EWL_CHECK_POINT  mEwlCheckPoints[] = {
  { "[Memory error check]", EWL_CATEGORY_MEMORY },
  { "[UPI error check]",    EWL_CATEGORY_UPI    },
  { "[CPU error check]",    EWL_CATEGORY_CPU    },
  { "[IIO error check]",    EWL_CATEGORY_IIO    },
  { "[SPS error check]",    EWL_CATEGORY_SPS    },
  { "[IE error check]",     EWL_CATEGORY_IE     },
  { "[AWR error check]",    EWL_CATEGORY_AWR    },
};
CONST UINTN  mEwlCheckPointCount = COUNT_OF (mEwlCheckPoints);

STATIC CONST UINT32  mMemoryTypes[] = { 1, 2, 3, 4, 5, 10, 11, 12, 13, 23, 25, 26, 27, 28 };
STATIC CONST UINT32  mUpiTypes[]    = { 6, 21 };
STATIC CONST UINT32  mCpuTypes[]    = { 7 };
STATIC CONST UINT32  mSpsTypes[]    = { 16, 17 };
STATIC CONST UINT32  mIeTypes[]     = { 18, 19 };
STATIC CONST UINT32  mAwrTypes[]    = { 20, 22 };

// The IIO check examines no entry type; it only looks for boot-stopping entries.
CONST EWL_CATEGORY_INFO  mEwlCategories[] = {
  { EWL_CATEGORY_MEMORY, mMemoryTypes, COUNT_OF (mMemoryTypes), EwlCheckMemory },
  { EWL_CATEGORY_UPI,    mUpiTypes,    COUNT_OF (mUpiTypes),    EwlCheckUpi    },
  { EWL_CATEGORY_CPU,    mCpuTypes,    COUNT_OF (mCpuTypes),    EwlCheckCpu    },
  { EWL_CATEGORY_IIO,    NULL,         0,                       NULL           },
  { EWL_CATEGORY_SPS,    mSpsTypes,    COUNT_OF (mSpsTypes),    EwlCheckSps    },
  { EWL_CATEGORY_IE,     mIeTypes,     COUNT_OF (mIeTypes),     EwlCheckIe     },
  { EWL_CATEGORY_AWR,    mAwrTypes,    COUNT_OF (mAwrTypes),    EwlCheckAwr    },
};
CONST UINTN  mEwlCategoryCount = COUNT_OF (mEwlCategories);

//
// Duplicate keys: the bytes of an entry compared with an earlier entry's.
//
STATIC CONST EWL_KEY_FIELD  mCodeFields[]     = { { 12, 1 }, { 13, 1 } };
// The codes, then socket, channel, module and rank.
STATIC CONST EWL_KEY_FIELD  mLocationFields[] = { { 12, 1 }, { 13, 1 }, { 14, 1 }, { 15, 1 }, { 16, 1 }, { 17, 1 } };
// SPS type 16, IE type 18.
STATIC CONST EWL_KEY_FIELD  mDetailShortFields[] = {
  { 12, 1 }, { 13, 1 }, { 18, 4 }, { 22, 4 }, { 26, 4 }, { 30, 4 }, { 34, 4 }
};
// SPS type 17, IE type 19.
STATIC CONST EWL_KEY_FIELD  mDetailLongFields[] = {
  { 12, 1 }, { 13, 1 }, { 18, 4 }, { 22, 4 }, { 26, 1 }, { 27, 1 }, { 28, 1 }, { 29, 1 },
  { 30, 4 }, { 34, 4 }, { 38, 4 }
};
// AWR types 20, 22.
STATIC CONST EWL_KEY_FIELD  mDetailAwrFields[] = { { 12, 1 }, { 13, 1 }, { 14, 4 }, { 18, 1 }, { 19, 4 }, { 23, 4 } };

CONST EWL_KEY_LAYOUT  mEwlCodeKey        = { mCodeFields,        COUNT_OF (mCodeFields),        14 };
CONST EWL_KEY_LAYOUT  mEwlLocationKey    = { mLocationFields,    COUNT_OF (mLocationFields),    18 };
CONST EWL_KEY_LAYOUT  mEwlDetailKeyShort = { mDetailShortFields, COUNT_OF (mDetailShortFields), 38 };
CONST EWL_KEY_LAYOUT  mEwlDetailKeyLong  = { mDetailLongFields,  COUNT_OF (mDetailLongFields),  42 };
CONST EWL_KEY_LAYOUT  mEwlDetailKeyAwr   = { mDetailAwrFields,   COUNT_OF (mDetailAwrFields),   27 };

//
// Memory: the rows' code lists do not overlap.
//
STATIC CONST UINT8  mMem2001[] = { 0x07, 0xED };
STATIC CONST UINT8  mMem2002[] = { 0x39, 0x3D, 0xEF, 0xF0, 0xF4, 0xF5 };
STATIC CONST UINT8  mMem2003[] = { 0x17 };
STATIC CONST UINT8  mMem2004[] = { 0x13, 0x14, 0x15, 0x16, 0x1F, 0x24, 0x26, 0x29, 0x30, 0x31, 0x0A };
STATIC CONST UINT8  mMem2005[] = { 0x0E };
STATIC CONST UINT8  mMem2006[] = { 0x2A, 0xE8 };
STATIC CONST UINT8  mMem200C[] = { 0x0C };
STATIC CONST UINT8  mMem200D[] = { 0x0D };
STATIC CONST UINT8  mMem200B[] = { 0x10 };
STATIC CONST UINT8  mMem200F[] = { 0x3A };
STATIC CONST UINT8  mMem2010[] = { 0x3B };

CONST EWL_CODE_MAP  MEM_WARN_MAP[] = {
  { 0x2001, mMem2001, COUNT_OF (mMem2001) },
  { 0x2002, mMem2002, COUNT_OF (mMem2002) },
  { 0x2003, mMem2003, COUNT_OF (mMem2003) },
  { 0x2004, mMem2004, COUNT_OF (mMem2004) },
  { 0x2005, mMem2005, COUNT_OF (mMem2005) },
  { 0x2006, mMem2006, COUNT_OF (mMem2006) },
  { 0x200C, mMem200C, COUNT_OF (mMem200C) },
  { 0x200D, mMem200D, COUNT_OF (mMem200D) },
  { 0x200B, mMem200B, COUNT_OF (mMem200B) },
  { 0x200F, mMem200F, COUNT_OF (mMem200F) },
  { 0x2010, mMem2010, COUNT_OF (mMem2010) },
};
CONST UINTN  MEM_WARN_MAP_COUNT = COUNT_OF (MEM_WARN_MAP);

//
// UPI links.
//
STATIC CONST UINT8  mUpi6001[] = { 1 };
STATIC CONST UINT8  mUpi6002[] = { 2 };
STATIC CONST UINT8  mUpi6003[] = { 3 };
STATIC CONST UINT8  mUpi6004[] = { 4 };
STATIC CONST UINT8  mUpi6005[] = { 9, 10, 12, 13, 14, 15, 17, 25 };
STATIC CONST UINT8  mUpi7002[] = { 16 };

CONST EWL_CODE_MAP  mEwlUpiMap[] = {
  { 0x6001, mUpi6001, COUNT_OF (mUpi6001) },
  { 0x6002, mUpi6002, COUNT_OF (mUpi6002) },
  { 0x6003, mUpi6003, COUNT_OF (mUpi6003) },
  { 0x6004, mUpi6004, COUNT_OF (mUpi6004) },
  { 0x6005, mUpi6005, COUNT_OF (mUpi6005) },
  { 0x7002, mUpi7002, COUNT_OF (mUpi7002) },
};
CONST UINTN  mEwlUpiMapCount = COUNT_OF (mEwlUpiMap);

//
// Management engines and AWR.
//
STATIC CONST UINT8  mMajor1[]  = { 1 };
STATIC CONST UINT8  mMajor2[]  = { 2 };
STATIC CONST UINT8  mMajor50[] = { 0x50 };

CONST EWL_CODE_MAP  mEwlSpsMap[] = {
  { 0x3001, mMajor1, COUNT_OF (mMajor1) },
  { 0x3002, mMajor2, COUNT_OF (mMajor2) },
};
CONST UINTN  mEwlSpsMapCount = COUNT_OF (mEwlSpsMap);

CONST EWL_CODE_MAP  mEwlIeMap[] = {
  { 0x3003, mMajor1, COUNT_OF (mMajor1) },
  { 0x3004, mMajor2, COUNT_OF (mMajor2) },
};
CONST UINTN  mEwlIeMapCount = COUNT_OF (mEwlIeMap);

CONST EWL_CODE_MAP  mEwlAwrMap[] = {
  { 0x5001, mMajor50, COUNT_OF (mMajor50) },
};
CONST UINTN  mEwlAwrMapCount = COUNT_OF (mEwlAwrMap);

//
// PcdZubMemWarningKind: the RAS mode a memory warning reports; 0 for no warning.
//
CONST EWL_MEM_WARNING_KIND  mEwlMemWarningKind[] = {
  { 0x0000, 0 },
  { 0x200C, 1 },     // mirror
  { 0x200D, 2 },     // partial mirror
  { 0x200B, 3 },     // rank sparing
  { 0x200F, 4 },     // ADDDC
  { 0x2010, 5 },     // SDDC
};
CONST UINTN  mEwlMemWarningKindCount = COUNT_OF (mEwlMemWarningKind);
CONST UINT8  mEwlOtherMemWarningKind = 0x1E;
