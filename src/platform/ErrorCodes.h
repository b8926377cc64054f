#pragma once

namespace s::platform {

// The system's error codes, as the watcher and its callers see them. The platform maps the
// kernel's errno values onto these (errorFromErrno).
inline constexpr int kErrorSuccess = 0;
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorTooManyOpenFiles = 4;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorNotEnoughMemory = 8;
inline constexpr int kErrorOutOfMemory = 14;
inline constexpr int kErrorGeneralFailure = 31;
inline constexpr int kErrorNotSupported = 50;
inline constexpr int kErrorInvalidParameter = 87;
inline constexpr int kErrorBadPathName = 161;
inline constexpr int kErrorNoMoreThreads = 164;
inline constexpr int kErrorBusy = 170;
inline constexpr int kErrorNameTooLong = 206;
// Kernel change queue overflowed: changes were lost and the tree has to be looked at again.
inline constexpr int kErrorChangesLost = 1022;
// A file handle no longer names a file (the file system changed under it).
inline constexpr int kErrorStaleHandle = 1006;
inline constexpr int kErrorDeviceIo = 1117;
// The per-user limit of kernel watches was reached: part of the tree is not watched.
inline constexpr int kErrorWatchLimit = 1816;
inline constexpr int kErrorTooManySymbolicLinks = 1921;

// The system error code for an errno value; kErrorGeneralFailure for values without a match.
int errorFromErrno(int errnoValue);

// The calling thread's last error, as operations that report one leave it.
int lastError();
void setLastError(int error);

}  // namespace s::platform
