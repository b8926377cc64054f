#include "platform/ChangeSource.h"

#include "platform/ErrorCodes.h"
#include "platform/EventPort.h"
#include "platform/linux/FanotifyReader.h"
#include "platform/linux/InotifySource.h"

#include <linux/capability.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace s::platform {

namespace {

using linux_impl::FanotifyReader;
using linux_impl::InotifySource;

class FanotifySource final : public IChangeSource {
public:
    explicit FanotifySource(std::unique_ptr<FanotifyReader> reader) : m_reader(std::move(reader)) {}
    ~FanotifySource() override
    {
        if (m_port != nullptr)
            m_port->removeDescriptor(m_reader->descriptor());
    }

    const char* backendName() const override { return "fanotify"; }

    int attach(EventPort& port, void* key) override
    {
        const int error = port.addDescriptor(m_reader->descriptor(), key);
        if (error == kErrorSuccess)
            m_port = &port;
        return error;
    }

    FillResult fill(std::byte* buffer, std::size_t capacity) override { return m_reader->fill(buffer, capacity); }
    bool takeNotice(ChangeNotice& notice) override { return m_reader->takeNotice(notice); }

private:
    std::unique_ptr<FanotifyReader> m_reader;
    EventPort* m_port = nullptr;
};

bool effectiveCapability(const __user_cap_data_struct (&data)[_LINUX_CAPABILITY_U32S_3], int capability)
{
    const auto word = static_cast<std::size_t>(capability / 32);
    return (data[word].effective & (1U << (capability % 32))) != 0;
}

}  // namespace

bool hasChangeReportPrivileges()
{
    static const bool privileged = [] {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
        if (::syscall(SYS_capget, &header, data) != 0)
            return false;
        return effectiveCapability(data, CAP_SYS_ADMIN) && effectiveCapability(data, CAP_DAC_READ_SEARCH);
    }();
    return privileged;
}

bool isDirectory(const std::string& path)
{
    struct stat attributes {};
    return ::stat(path.c_str(), &attributes) == 0 && S_ISDIR(attributes.st_mode);
}

int SystemChangeSources::openSource(const std::string& directory, std::unique_ptr<IChangeSource>& source)
{
    if (m_options.backend == ChangeBackend::Automatic && hasChangeReportPrivileges()) {
        FanotifyReader::Options options;
        options.renameEvents = m_options.fanotifyRenameEvents;
        options.targetIds = m_options.fanotifyTargetIds;
        options.unlimitedQueue = m_options.fanotifyUnlimitedQueue;
        std::unique_ptr<FanotifyReader> reader;
        // Whatever keeps fanotify from watching this directory (a file system that refuses the
        // mark, the group limit), inotify may still do it.
        if (FanotifyReader::open(directory, options, reader) == kErrorSuccess) {
            source = std::make_unique<FanotifySource>(std::move(reader));
            return kErrorSuccess;
        }
    }
    return InotifySource::open(directory, source);
}

}  // namespace s::platform
