#include "app/language.h"

#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kPrimaryEnglish = 9;
constexpr int kPrimaryGerman = 7;
constexpr int kPrimaryFrench = 12;
constexpr int kPrimarySpanish = 10;

}  // namespace

int LanguageFromLangId(int langId) {
  switch (langId & 0x3FF) {
    case kPrimaryEnglish:
      return kEnglish;
    case kPrimaryGerman:
      return kGerman;
    case kPrimaryFrench:
      return kFrench;
    case kPrimarySpanish:
      return kSpanish;
    default:
      return kLanguageUnknown;
  }
}

std::wstring LanguageProgressLine(int languageId) {
  switch (languageId) {
    case kEnglish:
      return L"1-Language: English";
    case kGerman:
      return L"1-Sprache: Deutsch";
    case kFrench:
      return L"1-La langue: français";
    case kSpanish:
      return L"1-Idioma: Español";
    default:
      return L"1-Unknown Language";
  }
}

}  // namespace tarvik
