// picture_language_win32.cpp: the player's language on Windows, where the
// zip's quillory.exe, double-clicked, starts in its own folder whatever the
// language. It is the first of the user's display languages, in the order
// Windows keeps them, that the pictures come in (a folder images/<language>/);
// English first, or none of them, means the English pictures.
#include "media/picture_language.h"

#include <windows.h>

#include <cwchar>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view PICTURES = "./images/";

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The language subtag of a language name such as "fr-FR", in lower case; the
// subtags are ASCII letters.
std::string languageOf(const wchar_t* name) {
    std::string language;
    for (const wchar_t* letter = name; *letter != L'\0' && *letter != L'-'; ++letter) {
        const wchar_t lower = *letter >= L'A' && *letter <= L'Z' ? *letter - L'A' + L'a' : *letter;
        language += static_cast<char>(lower);
    }
    return language;
}

// The language of the pictures: empty for English.
std::string choosePictureLanguage() {
    ULONG count = 0;
    ULONG size = 0;
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0) {
        return {};
    }
    std::vector<wchar_t> names(size);
    if (!GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names.data(), &size)) {
        return {};
    }
    // A list of names, each ended by a null, the list by one more.
    for (const wchar_t* name = names.data(); *name != L'\0'; name += std::wcslen(name) + 1) {
        const std::string language = languageOf(name);
        if (language == "en") {
            return {};
        }
        if (!language.empty() && isFolder(std::string(PICTURES) + language)) {
            return language;
        }
    }
    return {};
}

} // namespace

std::string pictureInPlayersLanguage(const char* path) {
    static const std::string language = choosePictureLanguage();
    const std::string_view asked(path);
    if (language.empty() || !asked.starts_with(PICTURES)) {
        return path;
    }
    std::string translated = std::string(PICTURES) + language + "/";
    translated += asked.substr(PICTURES.size());
    return isFile(translated) ? translated : std::string(path);
}
