#include "spreadsheet/core/FileSupport.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "spreadsheet/core/Workbook.h"

namespace quill::spreadsheet {

std::int64_t DocumentTimeNow() {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr) {
        std::int64_t seconds = 0;
        const char* end = epoch + std::strlen(epoch);
        const auto [ptr, ec] = std::from_chars(epoch, end, seconds);
        // Up to the year 9999, so that the FILETIME cannot overflow.
        if (ec == std::errc() && ptr == end && ptr != epoch && seconds >= 0 &&
            seconds < 253402300800)
            return seconds;
    }
    return static_cast<std::int64_t>(std::time(nullptr));
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, std::size_t maxBytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path p(path);
    if (!fs::exists(p, ec))
        throw EngineError("Cannot open \"" + path + "\": the file does not exist");
    if (!fs::is_regular_file(p, ec))
        throw EngineError("Cannot open \"" + path + "\": it is not a file");
    const auto size = fs::file_size(p, ec);
    if (ec) throw EngineError("Cannot open \"" + path + "\": " + ec.message());
    if (size > maxBytes)
        throw EngineError("Cannot open \"" + path + "\": the file is too large for a workbook");
    std::ifstream in(p, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in ||
        !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        throw EngineError("Cannot open \"" + path + "\": the file cannot be read");
    return bytes;
}

}  // namespace quill::spreadsheet
