/** @file
  UEFI base types, status codes and helper macros as the PEI modules see them.

  The modules are 32-bit firmware on a real board; on the simulated board they are
  host shared objects, so UINTN and pointers are 64 bits wide here. Every layout that
  is shared with hardware, the BMC or flash uses fixed-width fields only.
**/
#ifndef UEFI_BASE_TYPE_H_
#define UEFI_BASE_TYPE_H_

typedef unsigned char       UINT8;
typedef signed char         INT8;
typedef unsigned short      UINT16;
typedef short               INT16;
typedef unsigned int        UINT32;
typedef int                 INT32;
typedef unsigned long long  UINT64;
typedef long long           INT64;
typedef unsigned long       UINTN;
typedef long                INTN;
typedef unsigned char       BOOLEAN;
typedef char                CHAR8;
typedef char16_t            CHAR16;
typedef void                VOID;

static_assert (sizeof (UINTN) == sizeof (void *), "UINTN must hold a pointer");

#define TRUE   ((BOOLEAN)(1 == 1))
#define FALSE  ((BOOLEAN)(0 == 1))
#ifndef NULL
#define NULL   nullptr
#endif

#define IN
#define OUT
#define OPTIONAL
#define CONST     const
#define STATIC    static
#define EFIAPI
#define GLOBAL_REMOVE_IF_UNREFERENCED

#define MAX_UINT8   ((UINT8)0xFF)
#define MAX_UINT16  ((UINT16)0xFFFF)
#define MAX_UINT32  ((UINT32)0xFFFFFFFF)
#define MAX_UINT64  ((UINT64)0xFFFFFFFFFFFFFFFFULL)
#define MAX_UINTN   ((UINTN)~(UINTN)0)

#define BIT0   0x00000001u
#define BIT1   0x00000002u
#define BIT2   0x00000004u
#define BIT3   0x00000008u
#define BIT4   0x00000010u
#define BIT5   0x00000020u
#define BIT6   0x00000040u
#define BIT7   0x00000080u
#define BIT8   0x00000100u
#define BIT15  0x00008000u
#define BIT16  0x00010000u
#define BIT17  0x00020000u
#define BIT18  0x00040000u
#define BIT31  0x80000000u

#define SIZE_1KB    0x00000400u
#define SIZE_4KB    0x00001000u
#define SIZE_64KB   0x00010000u
#define SIZE_1MB    0x00100000u
#define SIZE_2MB    0x00200000u
#define SIZE_4MB    0x00400000u
#define SIZE_16MB   0x01000000u

#define ARRAY_SIZE(Array)            (sizeof (Array) / sizeof ((Array)[0]))
#define OFFSET_OF(Type, Field)       ((UINTN) __builtin_offsetof (Type, Field))
#define STATIC_ASSERT                static_assert
#define SIGNATURE_16(A, B)           ((A) | ((B) << 8))
#define SIGNATURE_32(A, B, C, D)     (SIGNATURE_16 (A, B) | (SIGNATURE_16 (C, D) << 16))
#define ALIGN_VALUE(Value, Alignment) ((Value) + (((Alignment) - (Value)) & ((Alignment) - 1U)))
#define MIN(a, b)                    (((a) < (b)) ? (a) : (b))
#define MAX(a, b)                    (((a) > (b)) ? (a) : (b))

//
// Variable argument lists: the compiler's own, so that the platform's debug service
// (host code) and the modules agree on the layout.
//
typedef __builtin_va_list VA_LIST;
#define VA_START(Marker, Parameter)  __builtin_va_start (Marker, Parameter)
#define VA_ARG(Marker, TYPE)         __builtin_va_arg (Marker, TYPE)
#define VA_END(Marker)               __builtin_va_end (Marker)
#define VA_COPY(Dest, Start)         __builtin_va_copy (Dest, Start)

typedef struct {
  UINT32  Data1;
  UINT16  Data2;
  UINT16  Data3;
  UINT8   Data4[8];
} EFI_GUID;
typedef EFI_GUID GUID;

typedef UINTN   RETURN_STATUS;
typedef UINTN   EFI_STATUS;
typedef UINT64  EFI_PHYSICAL_ADDRESS;
typedef VOID    *EFI_HANDLE;

#define MAX_BIT      ((UINTN)1 << (sizeof (UINTN) * 8 - 1))
#define ENCODE_ERROR(StatusCode)     ((RETURN_STATUS)(MAX_BIT | (StatusCode)))
#define ENCODE_WARNING(StatusCode)   ((RETURN_STATUS)(StatusCode))
#define RETURN_ERROR(StatusCode)     (((INTN)(RETURN_STATUS)(StatusCode)) < 0)
#define EFI_ERROR(StatusCode)        RETURN_ERROR (StatusCode)

#define EFI_SUCCESS               ((EFI_STATUS)0)
#define EFI_LOAD_ERROR            ENCODE_ERROR (1)
#define EFI_INVALID_PARAMETER     ENCODE_ERROR (2)
#define EFI_UNSUPPORTED           ENCODE_ERROR (3)
#define EFI_BAD_BUFFER_SIZE       ENCODE_ERROR (4)
#define EFI_BUFFER_TOO_SMALL      ENCODE_ERROR (5)
#define EFI_NOT_READY             ENCODE_ERROR (6)
#define EFI_DEVICE_ERROR          ENCODE_ERROR (7)
#define EFI_WRITE_PROTECTED       ENCODE_ERROR (8)
#define EFI_OUT_OF_RESOURCES      ENCODE_ERROR (9)
#define EFI_VOLUME_CORRUPTED      ENCODE_ERROR (10)
#define EFI_VOLUME_FULL           ENCODE_ERROR (11)
#define EFI_NO_MEDIA              ENCODE_ERROR (12)
#define EFI_MEDIA_CHANGED         ENCODE_ERROR (13)
#define EFI_NOT_FOUND             ENCODE_ERROR (14)
#define EFI_ACCESS_DENIED         ENCODE_ERROR (15)
#define EFI_NO_RESPONSE           ENCODE_ERROR (16)
#define EFI_NO_MAPPING            ENCODE_ERROR (17)
#define EFI_TIMEOUT               ENCODE_ERROR (18)
#define EFI_NOT_STARTED           ENCODE_ERROR (19)
#define EFI_ALREADY_STARTED       ENCODE_ERROR (20)
#define EFI_ABORTED               ENCODE_ERROR (21)
#define EFI_ICMP_ERROR            ENCODE_ERROR (22)
#define EFI_TFTP_ERROR            ENCODE_ERROR (23)
#define EFI_PROTOCOL_ERROR        ENCODE_ERROR (24)
#define EFI_INCOMPATIBLE_VERSION  ENCODE_ERROR (25)
#define EFI_SECURITY_VIOLATION    ENCODE_ERROR (26)
#define EFI_CRC_ERROR             ENCODE_ERROR (27)
#define EFI_END_OF_MEDIA          ENCODE_ERROR (28)
#define EFI_END_OF_FILE           ENCODE_ERROR (31)
#define EFI_INVALID_LANGUAGE      ENCODE_ERROR (32)
#define EFI_COMPROMISED_DATA      ENCODE_ERROR (33)

#define EFI_WARN_UNKNOWN_GLYPH    ENCODE_WARNING (1)
#define EFI_WARN_DELETE_FAILURE   ENCODE_WARNING (2)
#define EFI_WARN_WRITE_FAILURE    ENCODE_WARNING (3)
#define EFI_WARN_BUFFER_TOO_SMALL ENCODE_WARNING (4)
#define EFI_WARN_STALE_DATA       ENCODE_WARNING (5)

#define RETURN_SUCCESS            EFI_SUCCESS
#define RETURN_INVALID_PARAMETER  EFI_INVALID_PARAMETER
#define RETURN_UNSUPPORTED        EFI_UNSUPPORTED
#define RETURN_BUFFER_TOO_SMALL   EFI_BUFFER_TOO_SMALL
#define RETURN_NOT_FOUND          EFI_NOT_FOUND

#endif
