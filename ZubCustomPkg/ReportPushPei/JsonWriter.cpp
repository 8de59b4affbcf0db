/** @file
  JSON writer of the reports.
**/
#include "JsonWriter.h"

#include <Library/PrintLib.h>

#define JSON_FRAGMENT_CAP  0x80000u

STATIC
UINTN
Room (
  IN CONST JSON_WRITER  *Writer
  )
{
  UINTN  Left;

  Left = (Writer->Pos < Writer->Max) ? Writer->Max - Writer->Pos : 0;
  return (Left > JSON_FRAGMENT_CAP) ? JSON_FRAGMENT_CAP : Left;
}

STATIC
VOID
Fragment (
  IN OUT JSON_WRITER  *Writer,
  IN CONST CHAR8      *Text
  )
{
  if (Room (Writer) != 0) {
    Writer->Pos += (UINT32)AsciiSPrint (Writer->Buffer + Writer->Pos, Room (Writer), "%a", Text);
  }
}

STATIC
VOID
Character (
  IN OUT JSON_WRITER  *Writer,
  IN CHAR8            Char
  )
{
  CHAR8  Text[2];

  Text[0] = Char;
  Text[1] = '\0';
  Fragment (Writer, Text);
}

//
// One character of a string value: quote, backslash and control characters escaped,
// characters beyond ASCII as \u escapes.
//
STATIC
VOID
EscapedCharacter (
  IN OUT JSON_WRITER  *Writer,
  IN UINT16           Char
  )
{
  CHAR8  Text[8];

  if ((Char == '"') || (Char == '\\')) {
    Character (Writer, '\\');
    Character (Writer, (CHAR8)Char);
  } else if ((Char < 0x20) || (Char >= 0x7F)) {
    AsciiSPrint (Text, sizeof (Text), "\\u%04x", Char);
    Fragment (Writer, Text);
  } else {
    Character (Writer, (CHAR8)Char);
  }
}

STATIC
VOID
QuotedAscii (
  IN OUT JSON_WRITER  *Writer,
  IN CONST CHAR8      *Text
  )
{
  Character (Writer, '"');
  for ( ; (Text != NULL) && (*Text != '\0'); Text++) {
    EscapedCharacter (Writer, (UINT8)*Text);
  }
  Character (Writer, '"');
}

VOID
JsonBegin (
  OUT JSON_WRITER  *Writer,
  IN VOID          *Buffer,
  IN UINT32        Max
  )
{
  Writer->Buffer = (CHAR8 *)Buffer;
  Writer->Max    = Max;
  Writer->Pos    = 0;
}

VOID
JsonOpen (
  IN OUT JSON_WRITER  *Writer,
  IN CHAR8            Bracket
  )
{
  Character (Writer, Bracket);
}

VOID
JsonClose (
  IN OUT JSON_WRITER  *Writer,
  IN CHAR8            Bracket
  )
{
  if ((Writer->Pos != 0) && (Writer->Buffer[Writer->Pos - 1] == ',')) {
    Writer->Pos--;
  }
  Character (Writer, Bracket);
}

VOID
JsonCloseMember (
  IN OUT JSON_WRITER  *Writer,
  IN CHAR8            Bracket
  )
{
  JsonClose (Writer, Bracket);
  Character (Writer, ',');
}

VOID
JsonKey (
  IN OUT JSON_WRITER  *Writer,
  IN CONST CHAR8      *Key
  )
{
  QuotedAscii (Writer, Key);
  Character (Writer, ':');
}

VOID
JsonString (
  IN OUT JSON_WRITER  *Writer,
  IN CONST CHAR8      *Key,
  IN CONST CHAR8      *Value
  )
{
  JsonKey (Writer, Key);
  QuotedAscii (Writer, Value);
  Character (Writer, ',');
}

VOID
JsonUnicodeString (
  IN OUT JSON_WRITER  *Writer,
  IN CONST CHAR8      *Key,
  IN CONST CHAR16     *Value
  )
{
  JsonKey (Writer, Key);
  Character (Writer, '"');
  for ( ; (Value != NULL) && (*Value != 0); Value++) {
    EscapedCharacter (Writer, *Value);
  }
  Character (Writer, '"');
  Character (Writer, ',');
}

VOID
JsonNumber (
  IN OUT JSON_WRITER  *Writer,
  IN CONST CHAR8      *Key,
  IN UINT32           Value
  )
{
  CHAR8  Text[16];

  JsonKey (Writer, Key);
  AsciiSPrint (Text, sizeof (Text), "%u,", Value);
  Fragment (Writer, Text);
}

VOID
JsonElement (
  IN OUT JSON_WRITER  *Writer,
  IN CONST CHAR8      *Value
  )
{
  QuotedAscii (Writer, Value);
  Character (Writer, ',');
}
