// qmdecode: the program's picture decoder, a process of its own, so that no
// picture can stall, crash or exhaust the editor. It serves one request at a
// time on its standard input and output until the input ends. The program
// ends it when a decode takes too long; its own limits end it when a decode
// takes too much memory.

#include "imageview/decodeprotocol.h"
#include "imageview/magickcoder.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace qm::decodewire;

// The largest file the program sends (the image view reads no more).
constexpr std::uint64_t MaxRequestBytes = std::uint64_t(256) * 1024 * 1024;
// Address space: ImageMagick's own limits keep a decode far below this; a
// coder that allocates past them fails its allocation instead of taking the
// machine's memory.
constexpr rlim_t MaxAddressSpace = rlim_t(1536) * 1024 * 1024;

bool readFully(int fd, void *to, std::size_t n)
{
    auto *p = static_cast<char *>(to);
    while (n > 0) {
        const ssize_t got = ::read(fd, p, n);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        p += got;
        n -= std::size_t(got);
    }
    return true;
}

bool writeFully(int fd, const void *from, std::size_t n)
{
    const auto *p = static_cast<const char *>(from);
    while (n > 0) {
        const ssize_t put = ::write(fd, p, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        p += put;
        n -= std::size_t(put);
    }
    return true;
}

// The folder the program made for this process's temporary files. It goes
// with the process, however the process ends short of SIGKILL (after which
// the program removes it).
std::string g_temporary;

void removeTemporaryFolder()
{
    if (g_temporary.empty())
        return;
    if (DIR *dir = ::opendir(g_temporary.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
        ::closedir(dir);
    }
    ::rmdir(g_temporary.c_str());
}

// Only ImageMagick's coders for the image view's formats may read, nothing
// may run a delegate program, and no name may be read indirectly.
bool writePolicy(const std::string &folder)
{
    static const char policy[] =
        "<policymap>\n"
        "  <policy domain=\"coder\" rights=\"none\" pattern=\"*\" />\n"
        "  <policy domain=\"coder\" rights=\"read\" pattern=\"{BMP,DIB,GIF,JPEG,PCX,PNG,TIFF,WMF}\" />\n"
        "  <policy domain=\"delegate\" rights=\"none\" pattern=\"*\" />\n"
        "  <policy domain=\"path\" rights=\"none\" pattern=\"@*\" />\n"
        "</policymap>\n";
    const std::string file = folder + "/policy.xml";
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool ok = writeFully(fd, policy, sizeof policy - 1);
    return ::close(fd) == 0 && ok;
}

void limitResources()
{
    const rlimit address{MaxAddressSpace, MaxAddressSpace};
    ::setrlimit(RLIMIT_AS, &address);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    // No temporary file larger than the largest picture file.
    const rlimit files{MaxRequestBytes, MaxRequestBytes};
    ::setrlimit(RLIMIT_FSIZE, &files);
}

bool answer(int out, const qm::magick::Picture &picture)
{
    Result r;
    r.failure = picture.failure;
    const std::string error = picture.error.substr(0, MaxTextBytes);
    const std::string type = picture.type.substr(0, MaxTextBytes);
    r.errorBytes = std::uint32_t(error.size());
    r.typeBytes = std::uint32_t(type.size());
    if (picture.failure == Failure::None) {
        r.pixels = picture.pixels;
        r.width = picture.width;
        r.height = picture.height;
        r.bitsPerPixel = picture.bitsPerPixel;
        r.colours = std::uint32_t(picture.colours.size());
        r.pixelBytes = picture.data.size();
    }
    return writeFully(out, &r, sizeof r) && writeFully(out, error.data(), error.size())
           && writeFully(out, type.data(), type.size())
           && writeFully(out, picture.colours.data(), r.colours * sizeof(std::uint32_t))
           && writeFully(out, picture.data.data(), r.pixelBytes);
}

} // namespace

// argv[1]: the program's process id.
int main(int argc, char **argv)
{
    // The requests' channel is the standard output as started; the standard
    // output itself goes to the standard error, so that nothing a library
    // prints can come between a result's bytes.
    const int out = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    if (out < 0 || ::dup2(2, 1) < 0)
        return 2;
    ::signal(SIGPIPE, SIG_IGN);

    // The program ending, however it ends, ends this process: its parent's
    // death sends SIGTERM, which a thread of its own takes to remove the
    // temporary files, even in the middle of a decode.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    if (const char *folder = std::getenv("MAGICK_TEMPORARY_PATH"))
        g_temporary = folder;
    std::thread([ending] {
        int signal = 0;
        sigwait(&ending, &signal);
        removeTemporaryFolder();
        ::_exit(0);
    }).detach();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (argc < 2 || std::to_string(::getppid()) != argv[1]) {   // gone before it could be told
        removeTemporaryFolder();
        return 0;
    }

    if (!g_temporary.empty() && writePolicy(g_temporary))
        ::setenv("MAGICK_CONFIGURE_PATH", g_temporary.c_str(), 1);
    limitResources();
    qm::magick::setUp(argv[0]);

    const Ready ready{ReadyMagic, std::uint32_t(::getpid())};
    if (!writeFully(out, &ready, sizeof ready))
        return 1;
    std::vector<char> bytes;
    for (;;) {
        Request request;
        if (!readFully(0, &request, sizeof request))
            break;   // the program is done with us
        if (request.magic != RequestMagic || request.size > MaxRequestBytes
            || request.format >= std::uint32_t(qm::DecoderFormatCount))
            break;
        try {
            bytes.resize(request.size);
        } catch (const std::bad_alloc &) {
            break;
        }
        if (!readFully(0, bytes.data(), bytes.size()))
            break;
        const qm::magick::Picture picture = qm::magick::decode(
            bytes.data(), bytes.size(), qm::DecoderFormat(request.format), request.depth, request.dither != 0);
        if (!answer(out, picture))
            break;
    }
    removeTemporaryFolder();
    return 0;
}
