#include "platform/ErrorCodes.h"

#include <cerrno>

namespace s::platform {

namespace {

thread_local int t_lastError = kErrorSuccess;

}  // namespace

int errorFromErrno(int errnoValue)
{
    switch (errnoValue) {
    case 0:
        return kErrorSuccess;
    case ENOENT:
        return kErrorFileNotFound;
    case ENOTDIR:
        return kErrorPathNotFound;
    case EMFILE:
    case ENFILE:
        return kErrorTooManyOpenFiles;
    case EACCES:
    case EPERM:
        return kErrorAccessDenied;
    case ENOMEM:
        return kErrorNotEnoughMemory;
    case EINVAL:
        return kErrorInvalidParameter;
    case EOPNOTSUPP:
    case ENODEV:
    case EXDEV:
    case ENOSYS:
        return kErrorNotSupported;
    case EAGAIN:
        return kErrorNoMoreThreads;
    case EBUSY:
        return kErrorBusy;
    case ENAMETOOLONG:
        return kErrorNameTooLong;
    case ESTALE:
        return kErrorStaleHandle;
    case EIO:
        return kErrorDeviceIo;
    case ENOSPC:
        return kErrorWatchLimit;
    case ELOOP:
        return kErrorTooManySymbolicLinks;
    default:
        return kErrorGeneralFailure;
    }
}

int lastError()
{
    return t_lastError;
}

void setLastError(int error)
{
    t_lastError = error;
}

}  // namespace s::platform
