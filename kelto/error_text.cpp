// Status texts. They are our own fixed words, not the C library's, so they do
// not change with the locale or the C library's version.
#include "kelto/operations.h"
#include "kelto/status.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

struct StatusWords {
    int32_t status;
    const char* text;
};

const StatusWords kTexts[] = {
    {KTI_OK, "No error"},
    {KTI_INPROGRESS, "Connection in progress"},
    {SystemStatus(ECONNREFUSED), "Connection refused"},
    {SystemStatus(ENETUNREACH), "Network is unreachable"},
    {SystemStatus(EHOSTUNREACH), "Host is unreachable"},
    {SystemStatus(ETIMEDOUT), "Connection timed out"},
    {SystemStatus(ECONNRESET), "Connection reset by peer"},
    {SystemStatus(ECONNABORTED), "Connection aborted"},
    {SystemStatus(ENETDOWN), "Network is down"},
    {SystemStatus(EHOSTDOWN), "Host is down"},
    {SystemStatus(EPIPE), "Connection closed"},
    {SystemStatus(ENOTCONN), "Not connected"},
    {SystemStatus(EISCONN), "Already connected"},
    {SystemStatus(EALREADY), "Connection already in progress"},
    {SystemStatus(EADDRINUSE), "Address already in use"},
    {SystemStatus(EADDRNOTAVAIL), "Local address not available"},
    {SystemStatus(EAFNOSUPPORT), "Address family not supported"},
    {SystemStatus(EPROTONOSUPPORT), "Protocol not supported"},
    {SystemStatus(EACCES), "Permission denied"},
    {SystemStatus(EPERM), "Operation not permitted"},
    {SystemStatus(EMFILE), "Too many open files"},
    {SystemStatus(ENFILE), "Too many open files in the system"},
    {SystemStatus(ENOBUFS), "No buffer space available"},
    {SystemStatus(ENOMEM), "Out of memory"},
    {SystemStatus(EAGAIN), "Resource temporarily unavailable"},
    {SystemStatus(EINVAL), "Invalid argument"},
    {SystemStatus(EBADF), "Invalid endpoint"},
    {SystemStatus(ENAMETOOLONG), "Host name too long"},
    {SystemStatus(ERANGE), "Text buffer too small"},
    {SystemStatus(ECANCELED), "Operation canceled"},
    {KTI_HOST_NOT_FOUND, "Host not found"},
    {KTI_LOOKUP_TRY_AGAIN, "Name lookup failed for now, try again later"},
    {KTI_LOOKUP_FAILED, "Name lookup failed"},
    {KTI_BAD_DOTTED, "Not a valid dotted address"},
};

// Copies as much of the text as fits and always ends it with a NUL.
void CopyCut(const char* text, char* buffer, size_t size) {
    size_t length = std::min(std::strlen(text), size - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

} // namespace

const char* StatusText(int32_t status) {
    for (const auto& entry : kTexts) {
        if (entry.status == status)
            return entry.text;
    }
    return nullptr;
}

extern "C" {

int32_t kti_errinfo(uint32_t handle, kti_errrec* record) {
    if (record == nullptr)
        return SystemStatus(EINVAL);
    // word0: the endpoint; word2: 1 for a system error, 2 for a lookup error;
    // word3: the errno value or lookup code. Only `status` is read back.
    int32_t status = record->status;
    record->word0 = handle;
    record->word2 = 0;
    record->word3 = 0;
    record->word4 = 0;
    if (status >= KTI_LOOKUP_BASE && status < KTI_LOOKUP_BASE + 0x1000) {
        record->word2 = 2;
        record->word3 = static_cast<uint32_t>(status - KTI_LOOKUP_BASE);
    } else if (status >= KTI_ERROR_BASE && status < KTI_LOOKUP_BASE) {
        record->word2 = 1;
        record->word3 = static_cast<uint32_t>(status - KTI_ERROR_BASE);
    }
    return 0;
}

// The handle is not checked: the text of a failed open or of an endpoint
// already closed is still wanted.
int32_t kti_errtext(uint32_t, kti_errrec* record, uint16_t size, char* buffer) {
    if (record == nullptr || (buffer == nullptr && size > 0))
        return SystemStatus(EINVAL);
    if (size == 0)
        return SystemStatus(ERANGE);
    const char* text = StatusText(record->status);
    if (text != nullptr) {
        CopyCut(text, buffer, size);
        return 0;
    }
    char generic[48];
    std::snprintf(generic, sizeof generic, "Network error (code %d)", record->status);
    CopyCut(generic, buffer, size);
    return 0;
}

} // extern "C"
