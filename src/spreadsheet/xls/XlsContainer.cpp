#include "spreadsheet/xls/XlsContainer.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
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

// A compound file in memory, in the buffer libgsf built it in. The memory sink owns the
// buffer; nothing else refers to it once the sink is closed, so the directory is put right
// in place there.
struct PackedFile {
    GRef<GsfOutput> sink;
    std::size_t size = 0;
    std::span<std::uint8_t> Bytes() const {
        const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
        return {const_cast<guint8*>(bytes), bytes == nullptr ? 0 : size};
    }
};

// Packs the streams; `owned`, when given, holds the workbook stream and is freed once the
// container has it.
PackedFile Pack(std::span<const std::uint8_t> workbookStream, std::span<const NamedStream> others,
                std::vector<std::uint8_t>* owned) {
    InitGsf();
    std::vector<std::uint8_t> padded;
    std::span<const std::uint8_t> stream = workbookStream;
    if (stream.size() < kMinStreamBytes) {
        padded.assign(stream.begin(), stream.end());
        padded.resize(kMinStreamBytes, 0);
        stream = padded;
    }

    PackedFile file{GRef<GsfOutput>(gsf_output_memory_new()), 0};
    GsfOutput* sink = file.sink.get();
    {
        // 512-byte big blocks and 64-byte small blocks: the classic layout every reader knows.
        GRef<GsfOutfile> ole(gsf_outfile_msole_new_full(sink, 512, 64));
        if (!ole) throw EngineError("Cannot create the compound file");
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.get()), kWorkbookClassId);
        GRef<GsfOutput> child(gsf_outfile_new_child(ole.get(), "Workbook", FALSE));
        if (!child) throw EngineError("Cannot create the workbook stream");
        bool written = gsf_output_write(child.get(), stream.size(), stream.data());
        written = gsf_output_close(child.get()) && written;
        if (owned != nullptr) {
            stream = {};
            *owned = std::vector<std::uint8_t>();  // gives the memory back
        }
        for (const NamedStream& other : others) {
            GRef<GsfOutput> more(gsf_outfile_new_child(ole.get(), other.name.c_str(), FALSE));
            if (!more) throw EngineError("Cannot create the stream " + other.name);
            written =
                gsf_output_write(more.get(), other.bytes.size(), other.bytes.data()) && written;
            written = gsf_output_close(more.get()) && written;
        }
        const bool closedOle = gsf_output_close(GSF_OUTPUT(ole.get()));
        if (!written || !closedOle) throw EngineError("Cannot write the compound file");
    }
    // Closing the compound file normally closes its sink as well.
    if (!gsf_output_is_closed(sink)) gsf_output_close(sink);
    const gsf_off_t size = gsf_output_size(sink);
    file.size = size > 0 ? static_cast<std::size_t>(size) : 0;
    if (file.Bytes().empty()) throw EngineError("Cannot write the compound file");
    NormalizeDirectory(file.Bytes());
    return file;
}

}  // namespace

std::vector<std::uint8_t> PackCompoundFile(std::span<const std::uint8_t> workbookStream,
                                           std::span<const NamedStream> others) {
    const PackedFile file = Pack(workbookStream, others, nullptr);
    const std::span<const std::uint8_t> bytes = file.Bytes();
    return {bytes.begin(), bytes.end()};
}

void SaveCompoundFile(const std::string& path, std::vector<std::uint8_t>&& workbookStream,
                      std::span<const NamedStream> others) {
    std::vector<std::uint8_t> stream = std::move(workbookStream);
    const PackedFile file = Pack(stream, others, &stream);
    WriteFileAtomically(path, file.Bytes());
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

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path p(path);
    if (!fs::exists(p, ec))
        throw EngineError("Cannot open \"" + path + "\": the file does not exist");
    if (!fs::is_regular_file(p, ec))
        throw EngineError("Cannot open \"" + path + "\": it is not a file");
    const auto size = fs::file_size(p, ec);
    if (ec) throw EngineError("Cannot open \"" + path + "\": " + ec.message());
    if (size > kMaxFileBytes)
        throw EngineError("Cannot open \"" + path + "\": the file is too large for a workbook");
    std::ifstream in(p, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in ||
        !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        throw EngineError("Cannot open \"" + path + "\": the file cannot be read");
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
            fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                name_ = name;
                return true;
            }
            if (errno != EEXIST) return false;
        }
        return false;
    }
    bool Write(std::span<const std::uint8_t> bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }
    bool Close() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }
    const std::string& Name() const { return name_; }
    void Keep() { name_.clear(); }

  private:
    int fd_ = -1;
    std::string name_;
};

}  // namespace

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
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

    // The bytes go to a new file in the same folder, which is then renamed over the target
    // in one step: readers see the old file or the new one, never a part. The data is not
    // forced to the disk (no fsync): the guarantee is against failures of the program, and
    // saving stays fast.
    auto fail = [&](const std::string& what) {
        const int error = errno;
        throw EngineError("Cannot save \"" + path + "\": " + what +
                          (error != 0 ? std::string(" (") + std::strerror(error) + ")" : ""));
    };
    TempFile temp;
    errno = 0;
    if (!temp.Create(path)) fail("the folder is not writable");
    if (!temp.Write(bytes) || !temp.Close()) fail("the file cannot be written");
    // A file that is replaced keeps its permissions.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0)
        ::chmod(temp.Name().c_str(), existing.st_mode & 07777);
    if (std::rename(temp.Name().c_str(), path.c_str()) != 0) fail("the file cannot be replaced");
    temp.Keep();
}

}  // namespace quill::spreadsheet::xls
