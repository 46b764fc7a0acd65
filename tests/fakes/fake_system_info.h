#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/system_identity.h"
#include "platform/version_resources.h"
#include "platform/wmi.h"

namespace tarvik::fakes {

class FakeSystemIdentity : public platform::SystemIdentity {
 public:
  std::optional<platform::OsVersionRecord> Kernel;
  std::optional<platform::OsVersionRecord> Reported;
  std::wstring Folder = L"C:\\Windows\\system32\\";
  std::wstring Computer = L"DESK-7";
  std::wstring User = L"ann";
  platform::StartMode Mode = platform::StartMode::Normal;
  int KernelQueries = 0;

  std::optional<platform::OsVersionRecord> KernelVersion() override {
    ++KernelQueries;
    return Kernel;
  }
  std::optional<platform::OsVersionRecord> ReportedVersion() override { return Reported; }
  std::wstring SystemFolder() override { return Folder; }
  std::wstring ComputerName() override { return Computer; }
  std::wstring UserName() override { return User; }
  platform::StartMode Started() override { return Mode; }
};

// A file's version resource: its translations and the texts under their sub-block paths.
struct FakeVersionFile {
  std::vector<platform::VersionTranslation> Translations;
  std::map<std::wstring, std::wstring> Texts;
};

class FakeVersionResources : public platform::VersionResources {
 public:
  std::map<std::wstring, FakeVersionFile> Files;  // by path
  std::map<uint16_t, std::wstring> LanguageNames;
  std::vector<std::wstring> Queries;  // every sub-block asked for, in order
  int Opens = 0;

  std::unique_ptr<platform::VersionResource> Open(const std::wstring& path) override {
    ++Opens;
    const auto found = Files.find(path);
    if (found == Files.end())
      return nullptr;
    return std::make_unique<Resource>(found->second, Queries);
  }
  std::wstring LanguageName(uint16_t language) override {
    const auto found = LanguageNames.find(language);
    return found == LanguageNames.end() ? L"" : found->second;
  }

 private:
  class Resource : public platform::VersionResource {
   public:
    Resource(FakeVersionFile file, std::vector<std::wstring>& queries)
        : file_(std::move(file)), queries_(queries) {}
    std::optional<platform::VersionTranslation> FirstTranslation() const override {
      if (file_.Translations.empty())
        return std::nullopt;
      return file_.Translations.front();
    }
    std::optional<std::wstring> Text(const std::wstring& subBlock) const override {
      queries_.push_back(subBlock);
      const auto found = file_.Texts.find(subBlock);
      if (found == file_.Texts.end())
        return std::nullopt;
      return found->second;
    }

   private:
    FakeVersionFile file_;
    std::vector<std::wstring>& queries_;
  };
};

// Answers every query from a table of processors, each a map from property name to value.
class FakeWmi : public platform::Wmi {
 public:
  bool Reachable = true;
  std::vector<std::map<std::wstring, platform::WmiValue>> Processors;
  std::vector<std::vector<std::wstring>> Asked;

  std::optional<std::vector<std::vector<platform::WmiValue>>> ProcessorProperties(
      const std::vector<std::wstring>& names) override {
    Asked.push_back(names);
    if (!Reachable)
      return std::nullopt;
    std::vector<std::vector<platform::WmiValue>> rows;
    for (const auto& processor : Processors) {
      std::vector<platform::WmiValue>& row = rows.emplace_back();
      for (const std::wstring& name : names) {
        const auto found = processor.find(name);
        row.push_back(found == processor.end() ? platform::WmiValue{} : found->second);
      }
    }
    return rows;
  }
};

}  // namespace tarvik::fakes
