/** @file
  Internal interface between the formatter (PrintLib.cpp) and the status text table
  (StatusText.cpp) of the print library.
**/
#ifndef PRINT_LIB_INTERNAL_H_
#define PRINT_LIB_INTERNAL_H_

#include <Uefi/UefiBaseType.h>

/**
  The EDK2 text of a status code for %r.

  @param[in] Status  Any RETURN_STATUS value.

  @return The NUL-terminated text ("Success", "Invalid Parameter", ...), or NULL when the
          status has no text (the formatter then prints its value in hexadecimal).
**/
CONST CHAR8 *
PrintLibStatusText (
  IN RETURN_STATUS  Status
  );

#endif
