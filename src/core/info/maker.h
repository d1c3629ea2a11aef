#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Where the program's maker is found, named by the about box and the end window.
inline constexpr std::string_view kMakerMail = "kelvane@example.org";
// Given without a scheme, as the program has always shown it.
inline constexpr std::string_view kMakerPage = "www.example.org/kelvane";

// The mail link that opens a new message to the maker about the program.
std::string makerMailLink();
// The maker's page as a browser opens it.
std::string makerPageAddress();

// The text of the credits box: eight lines joined with CR LF.
std::string creditsText();

} // namespace kelvane
