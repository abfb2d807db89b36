#include "spreadsheet/xls/XlsContainer.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <random>

#include "spreadsheet/core/Workbook.h"
#include "spreadsheet/xls/CompoundDirectory.h"
#include "spreadsheet/xls/PropertySets.h"

namespace quill::spreadsheet::xls {
namespace {

// GObject references released on scope exit.
struct GObjectUnref {
    void operator()(gpointer object) const {
        if (object != nullptr) g_object_unref(object);
    }
};
template <typename T>
using GRef = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* error) const {
        if (error != nullptr) g_error_free(error);
    }
};

void InitGsf() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

// Streams below this size would go into the container's small-block area; the workbook
// stream is padded with zeros up to it, as workbook files usually are, because some readers
// expect the workbook in ordinary 512-byte sectors.
constexpr std::size_t kMinStreamBytes = 4096;

// The class identifier of the root storage of a BIFF8 workbook, in file byte order.
constexpr std::uint8_t kWorkbookClassId[16] = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                               0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

}  // namespace

namespace {

// Writes the compound file to `sink`: the workbook stream that `writeWorkbook` hands over
// in pieces (padded to kMinStreamBytes), then `others`.
void PackInto(GsfOutput* sink, const WorkbookWriter& writeWorkbook,
              std::span<const NamedStream> others) {
    InitGsf();
    // 512-byte big blocks and 64-byte small blocks: the classic layout every reader knows.
    GRef<GsfOutfile> ole(gsf_outfile_msole_new_full(sink, 512, 64));
    if (!ole) throw EngineError("Cannot create the compound file");
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.get()), kWorkbookClassId);
    GRef<GsfOutput> child(gsf_outfile_new_child(ole.get(), "Workbook", FALSE));
    if (!child) throw EngineError("Cannot create the workbook stream");
    bool written = true;
    std::size_t streamBytes = 0;
    try {
        writeWorkbook([&](std::span<const std::uint8_t> bytes) {
            written = gsf_output_write(child.get(), bytes.size(), bytes.data()) && written;
            streamBytes += bytes.size();
        });
    } catch (...) {
        // The outputs are closed before they are let go, as libgsf expects; what they wrote
        // is thrown away with the file.
        gsf_output_close(child.get());
        gsf_output_close(GSF_OUTPUT(ole.get()));
        throw;
    }
    if (streamBytes < kMinStreamBytes) {
        const std::vector<std::uint8_t> zeros(kMinStreamBytes - streamBytes, 0);
        written = gsf_output_write(child.get(), zeros.size(), zeros.data()) && written;
    }
    written = gsf_output_close(child.get()) && written;
    for (const NamedStream& other : others) {
        GRef<GsfOutput> more(gsf_outfile_new_child(ole.get(), other.name.c_str(), FALSE));
        if (!more) throw EngineError("Cannot create the stream " + other.name);
        written = gsf_output_write(more.get(), other.bytes.size(), other.bytes.data()) && written;
        written = gsf_output_close(more.get()) && written;
    }
    const bool closedOle = gsf_output_close(GSF_OUTPUT(ole.get()));
    if (!written || !closedOle) throw EngineError("Cannot write the compound file");
    // Closing the compound file normally closes its sink as well.
    if (!gsf_output_is_closed(sink)) gsf_output_close(sink);
}

}  // namespace

std::vector<std::uint8_t> PackCompoundFile(std::span<const std::uint8_t> workbookStream,
                                           std::span<const NamedStream> others) {
    GRef<GsfOutput> sink(gsf_output_memory_new());
    PackInto(
        sink.get(), [&](const StreamSink& put) { put(workbookStream); }, others);
    const gsf_off_t size = gsf_output_size(sink.get());
    const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    if (bytes == nullptr || size <= 0) throw EngineError("Cannot write the compound file");
    std::vector<std::uint8_t> file(bytes, bytes + size);
    NormalizeDirectory(file);
    return file;
}

std::vector<std::uint8_t> UnpackCompoundFile(std::span<const std::uint8_t> file,
                                             std::vector<std::uint8_t>* summaryInformation) {
    InitGsf();
    if (file.size() > kMaxFileBytes) throw EngineError("the file is too large for a workbook");
    GRef<GsfInput> input(
        gsf_input_memory_new(file.data(), static_cast<gsf_off_t>(file.size()), FALSE));
    if (!input) throw EngineError("the file cannot be read");
    GError* rawError = nullptr;
    GRef<GsfInfile> ole(gsf_infile_msole_new(input.get(), &rawError));
    std::unique_ptr<GError, GErrorFree> error(rawError);
    if (!ole) throw EngineError("it is not an .xls workbook (no compound file)");

    // Stream names in a compound file compare without regard to case.
    auto child = [&](const char* wanted) -> GsfInput* {
        const int count = gsf_infile_num_children(ole.get());
        for (int i = 0; i < count; ++i) {
            const char* name = gsf_infile_name_by_index(ole.get(), i);
            if (name != nullptr && g_ascii_strcasecmp(name, wanted) == 0)
                return gsf_infile_child_by_index(ole.get(), i);
        }
        return nullptr;
    };
    GRef<GsfInput> stream(child("Workbook"));
    if (!stream) {
        GRef<GsfInput> older(child("Book"));
        if (older) throw EngineError("it is an older .xls format (BIFF5) that is not supported");
        throw EngineError("it is not an .xls workbook (no workbook stream)");
    }
    const gsf_off_t size = gsf_input_size(stream.get());
    // The stream cannot be larger than the file that holds it.
    if (size < 0 || static_cast<std::uint64_t>(size) > file.size())
        throw EngineError("the file is damaged (workbook stream size)");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && gsf_input_read(stream.get(), bytes.size(), bytes.data()) == nullptr)
        throw EngineError("the file is damaged (workbook stream cannot be read)");
    if (summaryInformation != nullptr) {
        // The properties are optional: a file without them, or with damaged ones, still reads.
        summaryInformation->clear();
        GRef<GsfInput> summary(child(kSummaryStreamName));
        const gsf_off_t summarySize = summary ? gsf_input_size(summary.get()) : 0;
        if (summarySize > 0 && summarySize <= (1 << 20)) {
            summaryInformation->resize(static_cast<std::size_t>(summarySize));
            if (gsf_input_read(summary.get(), summaryInformation->size(),
                               summaryInformation->data()) == nullptr)
                summaryInformation->clear();
        }
    }
    return bytes;
}

namespace {

// A file descriptor closed on scope exit, and a temporary file removed unless kept.
class TempFile {
  public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        Close();
        if (!name_.empty()) ::unlink(name_.c_str());
    }
    // Creates a new file next to `target`, with a name no other file has.
    bool Create(const std::string& target) {
        std::random_device random;
        for (int attempt = 0; attempt < 16; ++attempt) {
            char suffix[32];
            std::snprintf(suffix, sizeof suffix, ".~%08x.tmp", static_cast<unsigned>(random()));
            const std::string name = target + suffix;
            fd_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                name_ = name;
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }
    bool Close() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }
    const std::string& Name() const { return name_; }
    int Fd() const { return fd_; }
    void Keep() { name_.clear(); }

  private:
    int fd_ = -1;
    std::string name_;
};

}  // namespace

namespace {

// Fills a new file in the target's folder through `fill` (false with errno set when it
// fails) and renames it over the target in one step: readers see the old file or the new
// one, never a part. The data is not forced to the disk (no fsync): the guarantee is
// against failures of the program, and saving stays fast.
void ReplaceAtomically(const std::string& path, const std::function<bool(TempFile&)>& fill) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target(path);
    if (path.empty() || !target.has_filename())
        throw EngineError("Cannot save \"" + path + "\": no file name");
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, ec))
        throw EngineError("Cannot save \"" + path + "\": the folder \"" + folder.string() +
                          "\" does not exist");
    if (fs::is_directory(target, ec))
        throw EngineError("Cannot save \"" + path + "\": a folder of that name exists");

    auto fail = [&](const std::string& what) {
        const int error = errno;
        throw EngineError("Cannot save \"" + path + "\": " + what +
                          (error != 0 ? std::string(" (") + std::strerror(error) + ")" : ""));
    };
    TempFile temp;
    errno = 0;
    if (!temp.Create(path)) fail("the folder is not writable");
    if (!fill(temp) || !temp.Close()) fail("the file cannot be written");
    // A file that is replaced keeps its permissions.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0)
        ::chmod(temp.Name().c_str(), existing.st_mode & 07777);
    if (std::rename(temp.Name().c_str(), path.c_str()) != 0) fail("the file cannot be replaced");
    temp.Keep();
}

// A file mapped into memory for reading and writing, unmapped on scope exit.
class MappedFile {
  public:
    MappedFile(int fd, std::size_t size) : size_(size) {
        void* at = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (at != MAP_FAILED) bytes_ = static_cast<std::uint8_t*>(at);
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile() {
        if (bytes_ != nullptr) ::munmap(bytes_, size_);
    }
    std::span<std::uint8_t> Bytes() const { return {bytes_, bytes_ == nullptr ? 0 : size_}; }

  private:
    std::uint8_t* bytes_ = nullptr;
    std::size_t size_;
};

}  // namespace

void SaveCompoundFile(const std::string& path, const WorkbookWriter& writeWorkbook,
                      std::span<const NamedStream> others) {
    ReplaceAtomically(path, [&](TempFile& temp) {
        // libgsf writes through a stream of its own on a second descriptor of the file; the
        // directory is then put right in the file itself, through a mapping that touches
        // only the few sectors it changes.
        const int fd = ::dup(temp.Fd());
        std::FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "wb");
        if (file == nullptr) {
            if (fd >= 0) ::close(fd);
            return false;
        }
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(file, &std::fclose);
        {
            GRef<GsfOutput> sink(gsf_output_stdio_new_FILE(temp.Name().c_str(), file, TRUE));
            if (!sink) return false;
            PackInto(sink.get(), writeWorkbook, others);
        }
        if (std::fflush(file) != 0) return false;
        struct stat written {};
        if (::fstat(temp.Fd(), &written) != 0 || written.st_size <= 0) return false;
        const MappedFile mapped(temp.Fd(), static_cast<std::size_t>(written.st_size));
        if (mapped.Bytes().empty()) return false;
        NormalizeDirectory(mapped.Bytes());
        return true;
    });
}

}  // namespace quill::spreadsheet::xls
