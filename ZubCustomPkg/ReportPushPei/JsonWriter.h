/** @file
  The reports' JSON writer: fragments printed one after another into the hook's buffer,
  every member ending with a comma that the closing bracket overwrites. String values
  are escaped, so every document is valid JSON.
**/
#ifndef REPORT_PUSH_JSON_WRITER_H_
#define REPORT_PUSH_JSON_WRITER_H_

#include <Uefi/UefiBaseType.h>

typedef struct {
  CHAR8   *Buffer;
  UINT32  Max;         // the hook's maximum size
  UINT32  Pos;         // characters written, without the NUL of the last print
} JSON_WRITER;

VOID JsonBegin (OUT JSON_WRITER *Writer, IN VOID *Buffer, IN UINT32 Max);
VOID JsonOpen (IN OUT JSON_WRITER *Writer, IN CHAR8 Bracket);
VOID JsonClose (IN OUT JSON_WRITER *Writer, IN CHAR8 Bracket);                  // drops a trailing comma first
VOID JsonKey (IN OUT JSON_WRITER *Writer, IN CONST CHAR8 *Key);                 // "key":
VOID JsonString (IN OUT JSON_WRITER *Writer, IN CONST CHAR8 *Key, IN CONST CHAR8 *Value);
VOID JsonUnicodeString (IN OUT JSON_WRITER *Writer, IN CONST CHAR8 *Key, IN CONST CHAR16 *Value);
VOID JsonNumber (IN OUT JSON_WRITER *Writer, IN CONST CHAR8 *Key, IN UINT32 Value);
VOID JsonElement (IN OUT JSON_WRITER *Writer, IN CONST CHAR8 *Value);          // "value", in an array
VOID JsonCloseMember (IN OUT JSON_WRITER *Writer, IN CHAR8 Bracket);            // closes and adds the comma

#endif
