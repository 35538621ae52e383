#pragma once
// The words and addresses of the Help and About windows.

#include <string_view>

namespace raziz {

inline constexpr std::string_view kDisclaimer = "This software is As-Is, use this software at own risk.";
// One carriage return: the text area shows it as two lines, the first ending with "the".
inline constexpr std::string_view kHelpText =
    "If square or triangle functions are unchecked the\rdefault audio engine generates a sine waveform.";
inline constexpr std::string_view kHelpTitle = "Help";
inline constexpr std::string_view kOkCaption = "OK";

inline constexpr std::string_view kWebsiteCaption = "WWW.RIDUVOAUDIO.COM";
inline constexpr std::string_view kFacebookCaption = "Riduvo Audio @ FACEBOOK";
inline constexpr std::string_view kTwitterCaption = "Riduvo Audio @ TWITTER";

inline constexpr std::string_view kWebsiteAddress = "https://www.riduvoaudio.com";
inline constexpr std::string_view kFacebookAddress = "https://www.facebook.com/riduvoaudio";
inline constexpr std::string_view kTwitterAddress = "https://twitter.com/riduvoaudio";

}  // namespace raziz
