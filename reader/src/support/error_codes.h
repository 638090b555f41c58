// The reader's error codes and their messages.
#pragma once

namespace reader {

enum ErrorCode : int {
    kNoError = 0,
    kNoInputFile = 1,
    kOpenFileError = 2,
    kWriteFileError = 3,
    kReadFileError = 4,
    kHandleNull = 5,
    kAllocError = 6,
    kReaderWrong = 7,
    kNotPdfOrZor = 8,
    kMoveFilePointerError = 9,
    kNoTrailer = 10,
    kNoStartXref = 11,
    kNoXrefSize = 12,
    kNoRoot = 13,
    kXrefError = 14,
    kEncrypted = 15,
    kNoPages = 16,
    kNoCatalog = 17,
    kNoObject = 18,
    kNoString = 19,
    kNoKids = 20,
    kPageCountError = 21,
    kStackOverflow = 22,
    kPageRangeError = 23,
    kNoImageData = 24,
    kUnsupportedType = 25,
    kPasswordError = 26,
};

/// The message of `code`; "Not this error msg!" outside 0..26.
const char* ErrorMessage(int code);

}  // namespace reader
