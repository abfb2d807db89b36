// Fixed configuration of the program: names and addresses that appear in its messages.
#pragma once

namespace quill::config {

// Product name; the application title and the window captions derive from it.
inline constexpr const char* kProductName = "Quillmere";

// Organization under which the settings store lives (Tarnwick.ini) and its group.
inline constexpr const char* kSettingsOrganization = "Tarnwick";
inline constexpr const char* kSettingsSection = "Quillmere";

// The prefix that names every traced procedure in the error-report box.
inline constexpr const char* kTracePrefix = "Fenbrook2021/08/31.";

// Where users send screenshots of the error-report box.
inline constexpr const char* kSupportAddress = "support@quillmere.example";

// The maker's contact page named by the Help message.
inline constexpr const char* kContactPage = "https://www.quillmere.example/contact";

}  // namespace quill::config
