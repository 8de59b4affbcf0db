/** @file
  EDK2-style formatted print into size-limited ASCII and UCS-2 buffers.

  Format: %[flags][width][.precision][l|L]type, with
    flags      '-' left-justify, '0' zero-pad numbers, '+' sign and ' ' blank before a
               non-negative %d, ',' thousands separators for %d and %u (turns zero-padding
               off);
    width      decimal digits, or '*' taking an int argument (negative: left-justify). EDK2
               reads a UINTN here; reading 32 bits accepts both an int and (on this x86-64
               host, from the low half of its slot) a UINTN;
    precision  '.' then digits or '*' (32-bit int; negative: as if absent). For strings
               (%a %s %g %r) the largest number of characters printed; for numbers the
               smallest number of digits, as in C (the '0' flag is then ignored);
    l, L       the argument of %d %u %x %X is 64-bit; without it it is a 32-bit int, as in
               EDK2 (%d sign-extends, %u %x %X zero-extend).
  Types:
    %a  ASCII string (CONST CHAR8 *)         %s, %S  UCS-2 string (CONST CHAR16 *)
    %c  character (int, low 16 bits; 0 prints nothing)
    %d  signed decimal    %u  unsigned decimal
    %x  lower-case hexadecimal, no leading zeros unless '0' and a width are given
    %X  upper-case hexadecimal; as in EDK2 zero-padding is implied, so "%8X" gives
        "000000AB" (without a width there are no leading zeros)
    %p  pointer (VOID *): like %lX, upper-case hexadecimal without "0x", as in EDK2
    %g  GUID (CONST EFI_GUID *) in registry format, upper case:
        "335984BD-E805-409A-B8F8-D27ECE5FF7A6"
    %r  RETURN_STATUS (UINTN): EDK2's text ("Success", "Invalid Parameter", ... table in
        StatusText.cpp). A status without a text prints, as EDK2's "%08X" does, its value in
        upper-case hexadecimal with at least 8 digits and no prefix, but with all 64 bits:
        0x8000000000000063 prints "8000000000000063", 0x63 prints "00000063".
    %%  a '%'. Any other type character is printed itself (EDK2), e.g. "%q" gives "q";
        a format that ends inside a conversion prints nothing for it.
  NULL arguments: %a and %s print "<null string>", %g prints "<null guid>" (EDK2's texts).
  Width pads with blanks (with zeros for numbers under '0'); everything is cut at the
  buffer's end.

  Output: at most BufferSize bytes including the NUL (BufferSize / 2 characters for
  UCS-2); the result is always NUL-terminated when a NUL fits (BufferSize >= 1 for ASCII,
  >= 2 for UCS-2). The return value is the number of characters written, without the NUL.
  A NULL buffer, a buffer too small for the NUL, or a NULL format returns 0 (a NULL format
  with a usable buffer writes an empty string). UCS-2 characters printed into an ASCII
  buffer keep their low byte (EDK2); ASCII bytes printed into a UCS-2 buffer are
  zero-extended. Unlike EDK2's BasePrintLib, '\n' is NOT translated to "\r\n": the text is
  written exactly as formatted, since screen lines and reports are built with it.
**/
#include <Library/PrintLib.h>
#include "PrintLibInternal.h"

namespace {

constexpr UINT32  FLAG_LEFT_JUSTIFY = BIT0;
constexpr UINT32  FLAG_PREFIX_ZERO  = BIT1;
constexpr UINT32  FLAG_PREFIX_SIGN  = BIT2;
constexpr UINT32  FLAG_PREFIX_BLANK = BIT3;
constexpr UINT32  FLAG_COMMA        = BIT4;
constexpr UINT32  FLAG_LONG         = BIT5;
constexpr UINT32  FLAG_WIDTH        = BIT6;
constexpr UINT32  FLAG_PRECISION    = BIT7;

/// Digits of a 64-bit value with separators (26), a GUID (36), a hex status (16).
constexpr UINTN  VALUE_BUFFER_SIZE = 48;
/// Width and precision digits beyond this are ignored (no overflow).
constexpr UINTN  MAX_FIELD_NUMBER = 100000000;

constexpr CHAR8  mNullString[] = "<null string>";
constexpr CHAR8  mNullGuid[]   = "<null guid>";
constexpr CHAR8  mHexUpper[]   = "0123456789ABCDEF";
constexpr CHAR8  mHexLower[]   = "0123456789abcdef";

/// The destination: characters go in until one slot is left for the NUL.
template <typename CharT>
class OutputBuffer {
public:
  OutputBuffer (CharT *Buffer, UINTN Characters)
    : mStart (Buffer), mPos (Buffer), mLast (Buffer + Characters - 1)
  {
  }

  BOOLEAN
  IsFull (VOID) const
  {
    return (BOOLEAN)(mPos == mLast);
  }

  VOID
  Put (UINT32 Character)
  {
    if (mPos != mLast) {
      *mPos++ = (CharT)Character;
    }
  }

  VOID
  PutRepeat (UINT32 Character, UINTN Count)
  {
    while ((Count > 0) && (mPos != mLast)) {
      *mPos++ = (CharT)Character;
      Count--;
    }
  }

  UINTN
  Finish (VOID)
  {
    *mPos = 0;
    return (UINTN)(mPos - mStart);
  }

private:
  CharT  *mStart;
  CharT  *mPos;
  CharT  *mLast;
};

/// One converted argument: [blanks][Sign][Zeros x '0'][Text][blanks].
struct FIELD {
  CONST VOID    *Text;
  UINTN         Length;     ///< characters of Text
  BOOLEAN       Wide;       ///< Text is CHAR16, else CHAR8
  CHAR8         Sign;       ///< 0, or '-', '+', ' ' before a number
  UINTN         Zeros;      ///< zeros between the sign and the digits
};

template <typename CharT>
VOID
EmitField (OutputBuffer<CharT> &Out, CONST FIELD &Field, UINT32 Flags, UINTN Width)
{
  UINTN  Total = Field.Length + Field.Zeros + ((Field.Sign != 0) ? 1 : 0);
  UINTN  Pad   = (((Flags & FLAG_WIDTH) != 0) && (Width > Total)) ? Width - Total : 0;

  if ((Flags & FLAG_LEFT_JUSTIFY) == 0) {
    Out.PutRepeat (' ', Pad);
  }
  if (Field.Sign != 0) {
    Out.Put ((UINT8)Field.Sign);
  }
  Out.PutRepeat ('0', Field.Zeros);
  for (UINTN Index = 0; (Index < Field.Length) && !Out.IsFull (); Index++) {
    if (Field.Wide) {
      Out.Put (((CONST CHAR16 *)Field.Text)[Index]);
    } else {
      Out.Put ((UINT8)((CONST CHAR8 *)Field.Text)[Index]);
    }
  }
  if ((Flags & FLAG_LEFT_JUSTIFY) != 0) {
    Out.PutRepeat (' ', Pad);
  }
}

/// Digits of Value in Radix (at least MinDigits, with ',' every three when Comma); no NUL.
UINTN
ValueToText (CHAR8 *Buffer, UINT64 Value, UINT32 Radix, BOOLEAN Upper, BOOLEAN Comma, UINTN MinDigits)
{
  CHAR8        Reverse[VALUE_BUFFER_SIZE];
  CONST CHAR8  *Digits = Upper ? mHexUpper : mHexLower;
  UINTN        Count   = 0;
  UINTN        Done    = 0;

  do {
    if (Comma && (Done != 0) && ((Done % 3) == 0)) {
      Reverse[Count++] = ',';
    }
    Reverse[Count++] = Digits[Value % Radix];
    Value           /= Radix;
    Done++;
  } while (((Value != 0) || (Done < MinDigits)) && (Count < VALUE_BUFFER_SIZE - 1));

  for (UINTN Index = 0; Index < Count; Index++) {
    Buffer[Index] = Reverse[Count - 1 - Index];
  }
  return Count;
}

/// Registry format, upper case, 36 characters; no NUL.
UINTN
GuidToText (CHAR8 *Buffer, CONST EFI_GUID *Guid)
{
  EFI_GUID  Value;
  UINTN     Count;

  __builtin_memcpy (&Value, Guid, sizeof (Value));   // the GUID may be unaligned
  Count            = ValueToText (Buffer, Value.Data1, 16, TRUE, FALSE, 8);
  Buffer[Count++]  = '-';
  Count           += ValueToText (Buffer + Count, Value.Data2, 16, TRUE, FALSE, 4);
  Buffer[Count++]  = '-';
  Count           += ValueToText (Buffer + Count, Value.Data3, 16, TRUE, FALSE, 4);
  Buffer[Count++]  = '-';
  for (UINTN Index = 0; Index < 8; Index++) {
    if (Index == 2) {
      Buffer[Count++] = '-';
    }
    Count += ValueToText (Buffer + Count, Value.Data4[Index], 16, TRUE, FALSE, 2);
  }
  return Count;
}

template <typename T>
UINTN
BoundedLength (CONST T *String, UINTN MaxLength)
{
  UINTN  Length = 0;

  while ((Length < MaxLength) && (String[Length] != 0)) {
    Length++;
  }
  return Length;
}

/// An ASCII string argument (after the NULL check): cut at the precision.
VOID
SetAsciiText (FIELD &Field, CONST CHAR8 *Text, UINT32 Flags, UINTN Precision)
{
  Field.Text   = Text;
  Field.Wide   = FALSE;
  Field.Length = BoundedLength (Text, ((Flags & FLAG_PRECISION) != 0) ? Precision : MAX_UINTN);
}

template <typename CharT>
UINTN
InternalVSPrint (CharT *StartOfBuffer, UINTN BufferSize, CONST CHAR8 *Format, VA_LIST Marker)
{
  CHAR8    ValueBuffer[VALUE_BUFFER_SIZE];
  CHAR16   Character[1];
  VA_LIST  Args;

  if ((StartOfBuffer == NULL) || (BufferSize < sizeof (CharT))) {
    return 0;
  }
  OutputBuffer<CharT>  Out (StartOfBuffer, BufferSize / sizeof (CharT));

  if (Format == NULL) {
    return Out.Finish ();
  }

  VA_COPY (Args, Marker);
  while ((*Format != 0) && !Out.IsFull ()) {
    if (*Format != '%') {
      Out.Put ((UINT8)*Format++);
      continue;
    }
    Format++;

    //
    // Flags, width, precision and size, in any order.
    //
    UINT32   Flags     = 0;
    UINTN    Width     = 0;
    UINTN    Precision = 0;
    BOOLEAN  Parsing   = TRUE;
    while (Parsing) {
      switch (*Format) {
        case '-': Flags |= FLAG_LEFT_JUSTIFY; Format++; break;
        case '+': Flags |= FLAG_PREFIX_SIGN;  Format++; break;
        case ' ': Flags |= FLAG_PREFIX_BLANK; Format++; break;
        case ',': Flags |= FLAG_COMMA;        Format++; break;
        case 'l':
        case 'L': Flags |= FLAG_LONG;         Format++; break;
        case '.':
          Flags    |= FLAG_PRECISION;
          Precision = 0;
          Format++;
          break;
        case '*': {
          INT32  Value = VA_ARG (Args, INT32);
          Format++;
          if ((Flags & FLAG_PRECISION) == 0) {
            Flags |= FLAG_WIDTH;
            if (Value < 0) {
              Flags |= FLAG_LEFT_JUSTIFY;
              Width  = (UINTN)0 - (UINTN)(INTN)Value;
            } else {
              Width = (UINTN)Value;
            }
          } else if (Value < 0) {
            Flags &= ~FLAG_PRECISION;
          } else {
            Precision = (UINTN)Value;
          }
          break;
        }
        case '0':
          if ((Flags & FLAG_PRECISION) == 0) {
            Flags |= FLAG_PREFIX_ZERO;
            Format++;
            break;
          }
          [[fallthrough]];
        case '1': case '2': case '3': case '4': case '5':
        case '6': case '7': case '8': case '9': {
          UINTN  Count = 0;
          while ((*Format >= '0') && (*Format <= '9')) {
            if (Count < MAX_FIELD_NUMBER) {
              Count = Count * 10 + (UINTN)(*Format - '0');
            }
            Format++;
          }
          if ((Flags & FLAG_PRECISION) == 0) {
            Flags |= FLAG_WIDTH;
            Width  = Count;
          } else {
            Precision = Count;
          }
          break;
        }
        default:
          Parsing = FALSE;
          break;
      }
    }

    CHAR8  Type = *Format;
    if (Type == 0) {
      break;                      // the format ends inside a conversion: nothing printed
    }
    Format++;

    FIELD  Field = { ValueBuffer, 0, FALSE, 0, 0 };
    switch (Type) {
      case 'a': {
        CONST CHAR8  *String = VA_ARG (Args, CONST CHAR8 *);
        SetAsciiText (Field, (String != NULL) ? String : mNullString, Flags, Precision);
        break;
      }
      case 's':
      case 'S': {
        CONST CHAR16  *String = VA_ARG (Args, CONST CHAR16 *);
        if (String == NULL) {
          SetAsciiText (Field, mNullString, Flags, Precision);
        } else {
          Field.Text   = String;
          Field.Wide   = TRUE;
          Field.Length = BoundedLength (String, ((Flags & FLAG_PRECISION) != 0) ? Precision : MAX_UINTN);
        }
        break;
      }
      case 'c': {
        Character[0] = (CHAR16)(VA_ARG (Args, UINT32) & 0xFFFF);
        Field.Text   = Character;
        Field.Wide   = TRUE;
        Field.Length = (Character[0] != 0) ? 1 : 0;
        break;
      }
      case 'g': {
        CONST EFI_GUID  *Guid = VA_ARG (Args, CONST EFI_GUID *);
        if (Guid == NULL) {
          SetAsciiText (Field, mNullGuid, Flags, Precision);
        } else {
          UINTN  Length = GuidToText (ValueBuffer, Guid);
          ValueBuffer[Length] = 0;
          SetAsciiText (Field, ValueBuffer, Flags, Precision);
        }
        break;
      }
      case 'r': {
        RETURN_STATUS  Status = VA_ARG (Args, RETURN_STATUS);
        CONST CHAR8    *Text  = PrintLibStatusText (Status);
        if (Text == NULL) {
          UINTN  Length = ValueToText (ValueBuffer, Status, 16, TRUE, FALSE, 8);
          ValueBuffer[Length] = 0;
          Text                = ValueBuffer;
        }
        SetAsciiText (Field, Text, Flags, Precision);
        break;
      }
      case 'd':
      case 'u':
      case 'x':
      case 'X':
      case 'p': {
        UINT64   Magnitude;
        UINT32   Radix = 10;
        BOOLEAN  Upper = FALSE;
        BOOLEAN  Comma = (BOOLEAN)((Flags & FLAG_COMMA) != 0);

        if (Type == 'd') {
          INT64  Value = ((Flags & FLAG_LONG) != 0) ? VA_ARG (Args, INT64) : (INT64)VA_ARG (Args, INT32);
          if (Value < 0) {
            Field.Sign = '-';
            Magnitude  = (UINT64)0 - (UINT64)Value;
          } else {
            Magnitude = (UINT64)Value;
            if ((Flags & FLAG_PREFIX_SIGN) != 0) {
              Field.Sign = '+';
            } else if ((Flags & FLAG_PREFIX_BLANK) != 0) {
              Field.Sign = ' ';
            }
          }
        } else if (Type == 'p') {
          Magnitude = (UINT64)(UINTN)VA_ARG (Args, VOID *);
        } else {
          Magnitude = ((Flags & FLAG_LONG) != 0) ? VA_ARG (Args, UINT64) : (UINT64)VA_ARG (Args, UINT32);
        }
        if ((Type == 'x') || (Type == 'X') || (Type == 'p')) {
          Radix = 16;
          Comma = FALSE;
          if (Type != 'x') {
            Upper  = TRUE;
            Flags |= FLAG_PREFIX_ZERO;    // EDK2: %X and %p imply zero-padding to the width
          }
        }

        Field.Length = ValueToText (ValueBuffer, Magnitude, Radix, Upper, Comma, 1);
        if ((Flags & FLAG_PRECISION) != 0) {
          if (!Comma && (Precision > Field.Length)) {
            Field.Zeros = Precision - Field.Length;
          }
        } else if (!Comma &&
                   ((Flags & (FLAG_PREFIX_ZERO | FLAG_WIDTH | FLAG_LEFT_JUSTIFY)) == (FLAG_PREFIX_ZERO | FLAG_WIDTH)))
        {
          UINTN  Used = Field.Length + ((Field.Sign != 0) ? 1 : 0);
          if (Width > Used) {
            Field.Zeros = Width - Used;
          }
        }
        break;
      }
      default:
        //
        // '%' and any unknown type: the character itself.
        //
        ValueBuffer[0] = Type;
        Field.Length   = 1;
        break;
    }
    EmitField (Out, Field, Flags, Width);
  }
  VA_END (Args);

  return Out.Finish ();
}

} // namespace

UINTN
EFIAPI
AsciiVSPrint (
  OUT CHAR8        *StartOfBuffer,
  IN  UINTN        BufferSize,
  IN  CONST CHAR8  *FormatString,
  IN  VA_LIST      Marker
  )
{
  return InternalVSPrint (StartOfBuffer, BufferSize, FormatString, Marker);
}

UINTN
EFIAPI
AsciiSPrint (
  OUT CHAR8        *StartOfBuffer,
  IN  UINTN        BufferSize,
  IN  CONST CHAR8  *FormatString,
  ...
  )
{
  VA_LIST  Marker;
  UINTN    Length;

  VA_START (Marker, FormatString);
  Length = AsciiVSPrint (StartOfBuffer, BufferSize, FormatString, Marker);
  VA_END (Marker);
  return Length;
}

UINTN
EFIAPI
UnicodeVSPrintAsciiFormat (
  OUT CHAR16       *StartOfBuffer,
  IN  UINTN        BufferSize,
  IN  CONST CHAR8  *FormatString,
  IN  VA_LIST      Marker
  )
{
  return InternalVSPrint (StartOfBuffer, BufferSize, FormatString, Marker);
}

UINTN
EFIAPI
UnicodeSPrintAsciiFormat (
  OUT CHAR16       *StartOfBuffer,
  IN  UINTN        BufferSize,
  IN  CONST CHAR8  *FormatString,
  ...
  )
{
  VA_LIST  Marker;
  UINTN    Length;

  VA_START (Marker, FormatString);
  Length = UnicodeVSPrintAsciiFormat (StartOfBuffer, BufferSize, FormatString, Marker);
  VA_END (Marker);
  return Length;
}
