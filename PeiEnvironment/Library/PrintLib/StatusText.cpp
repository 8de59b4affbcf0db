/** @file
  The texts %r prints for EFI_STATUS values: EDK2 BasePrintLib's mStatusString, as data.

  This table is the one place where status texts live. It includes EDK2's entries that
  have no EFI_* name in UefiBaseType.h: the reserved error codes 29 and 30 and the errors
  34 (IP Address Conflict) and 35 (HTTP Error). Texts are stored in fixed-size arrays so
  that the table needs no relocations.
**/
#include "PrintLibInternal.h"

namespace {

struct STATUS_TEXT {
  RETURN_STATUS    Status;
  CHAR8            Text[28];
};

constexpr STATUS_TEXT  mStatusText[] = {
  { EFI_SUCCESS,               "Success"                  },
  { EFI_WARN_UNKNOWN_GLYPH,    "Warning Unknown Glyph"    },
  { EFI_WARN_DELETE_FAILURE,   "Warning Delete Failure"   },
  { EFI_WARN_WRITE_FAILURE,    "Warning Write Failure"    },
  { EFI_WARN_BUFFER_TOO_SMALL, "Warning Buffer Too Small" },
  { EFI_WARN_STALE_DATA,       "Warning Stale Data"       },
  { EFI_LOAD_ERROR,            "Load Error"               },
  { EFI_INVALID_PARAMETER,     "Invalid Parameter"        },
  { EFI_UNSUPPORTED,           "Unsupported"              },
  { EFI_BAD_BUFFER_SIZE,       "Bad Buffer Size"          },
  { EFI_BUFFER_TOO_SMALL,      "Buffer Too Small"         },
  { EFI_NOT_READY,             "Not Ready"                },
  { EFI_DEVICE_ERROR,          "Device Error"             },
  { EFI_WRITE_PROTECTED,       "Write Protected"          },
  { EFI_OUT_OF_RESOURCES,      "Out of Resources"         },
  { EFI_VOLUME_CORRUPTED,      "Volume Corrupt"           },
  { EFI_VOLUME_FULL,           "Volume Full"              },
  { EFI_NO_MEDIA,              "No Media"                 },
  { EFI_MEDIA_CHANGED,         "Media changed"            },
  { EFI_NOT_FOUND,             "Not Found"                },
  { EFI_ACCESS_DENIED,         "Access Denied"            },
  { EFI_NO_RESPONSE,           "No Response"              },
  { EFI_NO_MAPPING,            "No mapping"               },
  { EFI_TIMEOUT,               "Time out"                 },
  { EFI_NOT_STARTED,           "Not started"              },
  { EFI_ALREADY_STARTED,       "Already started"          },
  { EFI_ABORTED,               "Aborted"                  },
  { EFI_ICMP_ERROR,            "ICMP Error"               },
  { EFI_TFTP_ERROR,            "TFTP Error"               },
  { EFI_PROTOCOL_ERROR,        "Protocol Error"           },
  { EFI_INCOMPATIBLE_VERSION,  "Incompatible Version"     },
  { EFI_SECURITY_VIOLATION,    "Security Violation"       },
  { EFI_CRC_ERROR,             "CRC Error"                },
  { EFI_END_OF_MEDIA,          "End of Media"             },
  { ENCODE_ERROR (29),         "Reserved (29)"            },
  { ENCODE_ERROR (30),         "Reserved (30)"            },
  { EFI_END_OF_FILE,           "End of File"              },
  { EFI_INVALID_LANGUAGE,      "Invalid Language"         },
  { EFI_COMPROMISED_DATA,      "Compromised Data"         },
  { ENCODE_ERROR (34),         "IP Address Conflict"      },
  { ENCODE_ERROR (35),         "HTTP Error"               },
};

} // namespace

CONST CHAR8 *
PrintLibStatusText (
  IN RETURN_STATUS  Status
  )
{
  for (UINTN Index = 0; Index < ARRAY_SIZE (mStatusText); Index++) {
    if (mStatusText[Index].Status == Status) {
      return mStatusText[Index].Text;
    }
  }
  return NULL;
}
