// qxpack: turns the installer image, a settings file and a product folder
// into one setup.exe, and checks a finished setup.exe.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "packer/layout_check.h"
#include "core/sha256.h"
#include "packer/pack_rules.h"
#include "packer/reproducible.h"
#include "payload/install_manifest.h"
#include "payload/layout.h"
#include "payload/payload_password.h"

namespace fs = std::filesystem;

namespace {

constexpr int kUsageError = 2;

// Part of every archive's input description: a packer that packs
// differently must say so here.
const char kPackerVersion[] = "qxpack 2";

// Only tests pass it: where no 32-bit x86 code runs they pack the x86-64 build.
const char kTestX64Option[] = "--test-allow-x64-image";

const char kHelp[] =
    "usage: qxpack build --settings INI --payload DIR --out SETUP.EXE [--sign CERT KEY [--signing-time EPOCH]]\n"
    "                    [--kit DIR] [--test-allow-x64-image]\n"
    "       qxpack verify [--test-allow-x64-image] SETUP.EXE [--against OTHER.EXE]\n"
    "\n"
    "build   links the installer image again around INI, packs DIR into an encrypted 7z\n"
    "        archive and appends filler, marker record, archive and padding.\n"
    "verify  checks the layout of a finished installer and prints what it found; with\n"
    "        --against, also whether OTHER.EXE is the same build, part by part.\n"
    "\n"
    "The same inputs (settings, payload bytes, names, folders, modification times and\n"
    "read-only bits, kit) give the same file. The image's time stamp is SOURCE_DATE_EPOCH\n"
    "when set, else the newest payload time; a signature is reproducible with\n"
    "--signing-time (default SOURCE_DATE_EPOCH when set).\n"
    "\n"
    "--test-allow-x64-image  for tests only: also accept an x86-64 (0x8664) image, such as\n"
    "        one linked from the 64-bit test build's kit. Never for a shipped installer,\n"
    "        which must be 32-bit x86; other machines are refused either way.\n";

struct Failure {
  std::string text;
};

[[noreturn]] void Fail(const std::string& text) { throw Failure{text}; }

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush())
    Fail("cannot write " + path.string());
}

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// Runs a shell command line; its output goes to `log`.
void Run(const std::string& command, const fs::path& log, const std::string& what) {
  const std::string line = command + " >>" + Quote(log.string()) + " 2>&1";
  const int status = std::system(line.c_str());
  if (status != 0) Fail(what + " failed (see " + log.string() + ")");
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return;
  for (size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size())
    text.replace(pos, from.size(), to);
}

// ---- relinking the image ----------------------------------------------------

struct LinkKit {
  fs::path dir;
  std::string buildDir, rcPath, imagePath;
  std::string rcCommand, linkCommand;
};

LinkKit ReadKit(const fs::path& dir) {
  LinkKit kit;
  kit.dir = dir;
  std::istringstream info(ReadAll(dir / "kit.txt"));
  for (std::string line; std::getline(info, line);) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "dir") kit.buildDir = value;
    if (key == "rc") kit.rcPath = value;
    if (key == "image") kit.imagePath = value;
  }
  std::string image = kit.imagePath;
  if (image.rfind(kit.buildDir + "/", 0) == 0) image = image.substr(kit.buildDir.size() + 1);
  std::istringstream commands(ReadAll(dir / "commands.txt"));
  for (std::string line; std::getline(commands, line);) {
    if (line.find("windres") != std::string::npos && line.find(kit.rcPath) != std::string::npos) kit.rcCommand = line;
    if (line.find("-o " + image + " ") != std::string::npos) kit.linkCommand = line;
  }
  if (kit.rcCommand.empty() || kit.linkCommand.empty())
    Fail("link kit " + (dir / "commands.txt").string() + " holds no resource or link command of the image");
  ReplaceAll(kit.linkCommand, "-o " + image + " ", "-o QXPACK_IMAGE ");
  return kit;
}

std::string LinkImage(const LinkKit& kit, const fs::path& settings, const fs::path& work) {
  const std::string abs = fs::absolute(settings).string();
  if (abs.find_first_of("\"\\") != std::string::npos) Fail("settings path must not hold quotes or backslashes: " + abs);
  std::string rc = ReadAll(kit.dir / "setup.rc.in");
  if (rc.find("QXPACK_SETTINGS_FILE") == std::string::npos) Fail("resource template without a settings slot");
  ReplaceAll(rc, "QXPACK_SETTINGS_FILE", abs);
  const fs::path rcFile = work / "setup.rc", resFile = work / "setup.rc.res", image = work / "setup-image.exe";
  WriteAll(rcFile, rc);

  // The build's own commands, pointed at our script, object and image.
  std::string rcCommand = kit.rcCommand;
  const std::string res = rcCommand.substr(rcCommand.find_last_of(' ') + 1);
  ReplaceAll(rcCommand, kit.rcPath, rcFile.string());
  rcCommand.resize(rcCommand.find_last_of(' ') + 1);
  rcCommand += Quote(resFile.string());
  std::string link = kit.linkCommand;
  ReplaceAll(link, " " + res + " ", " " + Quote(resFile.string()) + " ");
  // Symbols are of no use in a shipped installer and would double its image;
  // the kit's own linker drops them (-s), whatever toolchain the kit names.
  ReplaceAll(link, "-o QXPACK_IMAGE ", "-s -o " + Quote(image.string()) + " ");
  // Keep the build's import library untouched.
  for (size_t p; (p = link.find("-Wl,--out-implib,")) != std::string::npos;) link.erase(p, link.find(' ', p) - p);
  const fs::path log = work / "link.log";
  Run("cd " + Quote(kit.buildDir) + " && " + rcCommand, log, "compiling the resource script");
  Run("cd " + Quote(kit.buildDir) + " && " + link, log, "linking the installer image");
  return ReadAll(image);
}

// ---- the archive ------------------------------------------------------------

std::vector<qx::payload::ListedItem> PayloadItems(const fs::path& dir) {
  std::vector<qx::payload::ListedItem> items;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
    if (it->is_symlink()) Fail("symbolic link in the payload: " + it->path().string());
    items.push_back({it->is_directory(), fs::relative(it->path(), dir).generic_string()});
  }
  std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
  return items;
}

std::string FileDigest(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path.string());
  qx::Sha256 hash;
  std::vector<char> buffer(1 << 20);
  while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0)
    hash.Update(buffer.data(), static_cast<size_t>(in.gcount()));
  const qx::Sha256Digest digest = hash.Finish();
  return qx::HexOf(digest.data(), digest.size());
}

// Everything the archive's bytes follow from, one line per item in name
// order: what the initialisation vector is derived from. Also the newest
// modification time, in seconds.
struct PackInputs {
  std::string description;
  int64_t newestSeconds = 0;
};

PackInputs DescribeInputs(const std::string& settings, const std::vector<qx::payload::ListedItem>& items,
                          const fs::path& dir) {
  PackInputs inputs;
  const qx::Sha256Digest settingsDigest = qx::Sha256Of(settings);
  inputs.description =
      std::string(kPackerVersion) + "\nsettings " + qx::HexOf(settingsDigest.data(), settingsDigest.size()) + "\n";
  for (const auto& item : items) {
    const fs::path path = dir / item.path;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) Fail("cannot read " + path.string());
    const int64_t nanoseconds = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    inputs.newestSeconds = std::max<int64_t>(inputs.newestSeconds, st.st_mtim.tv_sec);
    const bool readOnly = (st.st_mode & 0222) == 0;
    inputs.description +=
        (item.folder ? "D " : "F ") + item.path + "\t" + std::to_string(nanoseconds) + (readOnly ? " ro" : " rw");
    if (!item.folder) inputs.description += " " + std::to_string(st.st_size) + " " + FileDigest(path);
    inputs.description += "\n";
  }
  return inputs;
}

// The install record beside the payload's items: the list of every item
// the archive holds (the record's own two files included) and the settings
// the image carries, byte for byte.
std::vector<fs::path> WriteInstallRecord(std::vector<qx::payload::ListedItem> items, const std::string& settings,
                                         uint32_t time, const fs::path& work) {
  const fs::path list = work / qx::payload::kItemListName, copy = work / qx::payload::kSettingsCopyName;
  items.push_back({false, qx::payload::kItemListName});
  items.push_back({false, qx::payload::kSettingsCopyName});
  std::sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
  WriteAll(list, qx::payload::RenderItemList(items));
  WriteAll(copy, settings);
  // Their time is the image's, not the moment of packing.
  const struct timespec times[2] = {{static_cast<time_t>(time), 0}, {static_cast<time_t>(time), 0}};
  for (const fs::path& file : {list, copy})
    if (utimensat(AT_FDCWD, file.c_str(), times, 0) != 0) Fail("cannot set the time of " + file.string());
  return {list, copy};
}

std::string PackArchive(const fs::path& dir, const std::vector<fs::path>& extra, const std::string& iv,
                        const fs::path& work) {
  if (access(QXPACK_ARCHIVER, X_OK) != 0) Fail("no archiver at " QXPACK_ARCHIVER " (scripts/build-deps builds it)");
  const fs::path list = work / "items.txt", archive = work / "payload.7z";
  // In name order, whatever order the file system lists them in.
  std::vector<std::string> top;
  for (const auto& entry : fs::directory_iterator(dir)) top.push_back(entry.path().filename().string());
  std::sort(top.begin(), top.end());
  std::string names;
  for (const std::string& name : top) names += name + "\n";
  // Given with their whole path, these land at the archive's top under their own names.
  for (const fs::path& file : extra) names += file.string() + "\n";
  WriteAll(list, names);
  // Explicit block size and threads: decodes on two threads, and the bytes
  // do not depend on the packing machine's cores. Modification times only,
  // Windows attributes only (the read-only bit, not the packing user's
  // umask), and the vector derived from the inputs.
  const std::string command = "cd " + Quote(dir.string()) + " && LC_ALL=C.UTF-8 QXPACK_AES_IV=" + iv +
                              " QXPACK_WINDOWS_ATTRIBUTES=1 " + Quote(QXPACK_ARCHIVER) +
                              " a -t7z -bd -y -scsUTF-8 -mx=5 -m0=LZMA2:d=16m:c=32m -mmt=2 -mhe=off -mtm=on -mtc=off"
                              " -mta=off -p" +
                              qx::payload::kPayloadPassword + " " + Quote(archive.string()) + " @" +
                              Quote(list.string());
  Run(command, work / "7za.log", "packing " + dir.string());
  return ReadAll(archive);
}

// The product's main program and its uninstaller, which the install's
// shortcuts and uninstall entry point at.
std::vector<std::string> ProgramsTheSettingsName(const std::string& settings) {
  std::vector<std::string> programs;
  for (const char* key : {"DisplayIcon", "UninstallString"}) {
    const std::string value = qx::pack::SettingsValue(settings, "TAMSOR_INFO", key);
    if (!value.empty()) programs.push_back(value);
  }
  return programs;
}

fs::path MakeWorkFolder(const fs::path& out) {
  std::string pattern = (fs::absolute(out).parent_path() / ".qxpack.XXXXXX").string();
  if (!mkdtemp(pattern.data())) Fail("cannot make a work folder next to " + out.string());
  return pattern;
}

int Build(const std::map<std::string, std::vector<std::string>>& args, qx::pack::ImageMachines machines) {
  auto one = [&args](const std::string& name) {
    auto it = args.find(name);
    if (it == args.end() || it->second.size() != 1) Fail("missing " + name);
    return fs::path(it->second[0]);
  };
  const fs::path settings = one("--settings"), payloadDir = one("--payload"), out = one("--out");
  fs::path kitDir = QXPACK_DEFAULT_KIT;
  if (args.count("--kit")) kitDir = one("--kit");

  const std::string settingsText = ReadAll(settings);
  const std::string marker = qx::pack::MarkerFromSettings(settingsText);
  if (marker.empty()) Fail(settings.string() + ": no marker text (OFFSET_FLAG/flag)");
  if (marker.size() > qx::payload::kMaxMarkerLength) Fail(settings.string() + ": marker text longer than 49 bytes");
  if (!fs::is_directory(payloadDir)) Fail(payloadDir.string() + ": not a folder");
  const auto items = PayloadItems(payloadDir);
  std::vector<std::string> paths;
  for (const auto& item : items) paths.push_back(item.path);
  const auto problems = qx::pack::PayloadPathProblems(paths);
  if (!problems.empty()) Fail(payloadDir.string() + ": " + problems.front());
  for (const std::string& program : ProgramsTheSettingsName(settingsText))
    if (std::find(paths.begin(), paths.end(), program) == paths.end())
      std::fprintf(stderr, "qxpack: warning: the payload has no %s, which the settings name\n", program.c_str());
  const LinkKit kit = ReadKit(kitDir);

  const fs::path work = MakeWorkFolder(out);
  struct Cleanup {
    fs::path p;
    ~Cleanup() {
      std::error_code ec;
      if (!std::getenv("QXPACK_KEEP")) fs::remove_all(p, ec);
    }
  } cleanup{work};

  const PackInputs inputs = DescribeInputs(settingsText, items, payloadDir);
  const auto timeStamp = qx::pack::ImageTimeStamp(std::getenv("SOURCE_DATE_EPOCH"), inputs.newestSeconds);
  if (!timeStamp) Fail("SOURCE_DATE_EPOCH is not a number of seconds");
  const auto ivBytes = qx::pack::ArchiveIv(inputs.description);
  const std::string iv = qx::HexOf(ivBytes.data(), ivBytes.size());

  std::string image = LinkImage(kit, settings, work);
  if (!qx::pack::StampImage(image, *timeStamp)) Fail("the linked image has no PE header");
  const std::string archive =
      PackArchive(payloadDir, WriteInstallRecord(items, settingsText, *timeStamp, work), iv, work);
  const uint64_t total = qx::pack::InstallerSize(image.size(), archive.size());
  // The locator reads the file size as a signed 32-bit number.
  if (total >= (1ull << 31)) Fail(out.string() + ": result would be 2 GiB or more");

  const int64_t recordOffset = qx::payload::RecordOffsetFor(static_cast<int64_t>(image.size()));
  // Shipped installers store image size + 100: the forward search covers the rest.
  const auto record = qx::payload::MakeRecord(marker, static_cast<int64_t>(image.size() + qx::payload::kRecordSize));
  std::string file = image;
  file.resize(static_cast<size_t>(recordOffset), '\0');
  file.append(record->data(), record->size());
  file += archive;
  file.resize(static_cast<size_t>(total), '\0');

  const auto check = qx::pack::CheckLayout(file, machines);
  if (!check.problems.empty()) Fail(out.string() + ": " + check.problems.front());

  auto sign = args.find("--sign");
  if (sign != args.end()) {
    if (sign->second.size() != 2) Fail("--sign needs CERT and KEY");
    // A given signing time makes the signature reproducible too.
    std::string signingTime;
    if (args.count("--signing-time")) {
      signingTime = one("--signing-time").string();
    } else if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
      signingTime = epoch;
    }
    if (!signingTime.empty() && !qx::pack::ImageTimeStamp(signingTime.c_str(), 0))
      Fail("--signing-time is not a number of seconds");
    const fs::path unsigned_ = work / "unsigned.exe", signed_ = work / "signed.exe";
    WriteAll(unsigned_, file);
    Run("osslsigncode sign -certs " + Quote(sign->second[0]) + " -key " + Quote(sign->second[1]) +
            (signingTime.empty() ? std::string() : " -time " + signingTime) + " -in " + Quote(unsigned_.string()) +
            " -out " + Quote(signed_.string()),
        work / "sign.log", "signing");
    file = ReadAll(signed_);
  }
  const fs::path partial = out.string() + ".partial";
  WriteAll(partial, file);
  fs::rename(partial, out);
  std::printf("qxpack: %s (%zu bytes: image %zu, archive %zu at %lld; image time %u, archive vector %s)\n",
              out.string().c_str(), file.size(), image.size(), archive.size(),
              static_cast<long long>(recordOffset + qx::payload::kRecordSize), *timeStamp, iv.c_str());
  return 0;
}

// The archive cut out of a finished installer into a file of its own, for
// the stock archiver to read; removed with the object.
class ArchiveFile {
 public:
  ArchiveFile(const std::string& file, const qx::pack::LayoutReport& r) {
    char name[] = "/tmp/qxpack-verify-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) Fail("cannot make a temporary file");
    close(fd);
    path_ = name;
    WriteAll(path_, file.substr(static_cast<size_t>(r.archiveOffset), static_cast<size_t>(r.archiveSize)));
  }
  ~ArchiveFile() { std::remove(path_.c_str()); }
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  // Every item with its kind; nothing when the archive cannot be listed
  // without the password (encrypted headers). A wrong password still lists
  // an archive whose headers are plain.
  std::optional<std::vector<qx::payload::ListedItem>> Items() const {
    const std::string command = "7zz l -ba -slt -pqxpack-no-password " + Quote(path_) + " 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return std::nullopt;
    std::vector<qx::payload::ListedItem> items;
    char line[4096];
    while (std::fgets(line, sizeof line, p)) {
      std::string text = line;
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      if (text.rfind("Path = ", 0) == 0) items.push_back({false, text.substr(7)});
      if (text.rfind("Attributes = D", 0) == 0 && !items.empty()) items.back().folder = true;
    }
    if (pclose(p) != 0) return std::nullopt;
    for (auto& item : items) std::replace(item.path.begin(), item.path.end(), '/', '\\');
    return items;
  }

  // One item's bytes, decrypted with the payload password.
  std::optional<std::string> Read(const std::string& item) const {
    const std::string command = std::string("7zz e -so -p") + qx::payload::kPayloadPassword + " " + Quote(path_) + " " +
                                Quote(item) + " 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) bytes.append(buffer, n);
    if (pclose(p) != 0) return std::nullopt;
    return bytes;
  }

 private:
  std::string path_;
};

// The install record against the archive: the list must name every item
// with its kind, and nothing else, or the uninstaller would leave files
// behind or look for ones that never came.
void CheckInstallRecord(const ArchiveFile& archive, const std::vector<qx::payload::ListedItem>& items,
                        std::vector<std::string>& problems) {
  const auto listText = archive.Read(qx::payload::kItemListName);
  const auto settings = archive.Read(qx::payload::kSettingsCopyName);
  if (!listText || !settings) {
    problems.push_back("no install record (" + std::string(qx::payload::kItemListName) + ", " +
                       qx::payload::kSettingsCopyName + ") at the archive's top: the uninstaller cannot work");
    return;
  }
  const auto listed = qx::payload::ParseItemList(*listText);
  if (!listed) {
    problems.push_back(std::string(qx::payload::kItemListName) + " is not a whole item list");
    return;
  }
  auto byPath = [](const auto& a, const auto& b) { return a.path < b.path; };
  auto sortedListed = *listed, sortedItems = items;
  std::sort(sortedListed.begin(), sortedListed.end(), byPath);
  std::sort(sortedItems.begin(), sortedItems.end(), byPath);
  if (sortedListed != sortedItems) {
    problems.push_back(std::string(qx::payload::kItemListName) + " names " + std::to_string(listed->size()) +
                       " items, the archive holds " + std::to_string(items.size()) + " (or their kinds differ)");
    return;
  }
  std::printf("install list:  %zu items, the archive's own\n", listed->size());
  for (const std::string& program : ProgramsTheSettingsName(*settings)) {
    const bool present = std::any_of(items.begin(), items.end(),
                                     [&program](const auto& item) { return !item.folder && item.path == program; });
    std::printf(
        "%-15s%s%s\n",
        program == qx::pack::SettingsValue(*settings, "TAMSOR_INFO", "DisplayIcon") ? "main program:" : "uninstaller:",
        program.c_str(), present ? "" : " (warning: not in the payload)");
  }
}

// Whether two installers are the same build: byte for byte, or differing
// only in their signatures (a signing time not given). Names each part.
int CompareBuilds(const fs::path& path, const fs::path& other) {
  const std::string a = ReadAll(path), b = ReadAll(other);
  std::printf("against:       %s (%zu bytes)\n", other.string().c_str(), b.size());
  std::vector<std::string> differing;
  for (const auto& part : qx::pack::CompareInstallers(a, b)) {
    if (part.same) {
      std::printf("  %-13s same\n", (part.part + ":").c_str());
    } else {
      std::printf("  %-13s differs (first at byte %lld)\n", (part.part + ":").c_str(),
                  static_cast<long long>(part.firstDifference));
      differing.push_back(part.part);
    }
  }
  if (a == b) {
    std::printf("same build: yes, byte for byte\n");
    return 0;
  }
  if (differing.size() == 1 && differing[0] == "signature") {
    std::printf("same build: yes; only the signatures differ (sign with --signing-time for identical files)\n");
    return 0;
  }
  std::string list;
  for (const auto& part : differing) list += (list.empty() ? "" : ", ") + part;
  std::printf("same build: no (%s)\n", list.c_str());
  return 1;
}

int Verify(const fs::path& path, qx::pack::ImageMachines machines) {
  const std::string file = ReadAll(path);
  const auto r = qx::pack::CheckLayout(file, machines);
  std::printf("file:          %s (%zu bytes)\n", path.string().c_str(), file.size());
  std::printf("image size:    %llu (machine 0x%04X)\n", static_cast<unsigned long long>(r.pe.imageSize), r.pe.machine);
  std::printf("record offset: %lld (marker \"%s\")\n", static_cast<long long>(r.recordOffset), r.marker.c_str());
  std::printf("search start:  %lld%s\n", static_cast<long long>(r.searchStart),
              r.recordFound ? "" : " (record within 1 MiB of the end: the reader searches from byte 0)");
  std::printf("archive:       offset %lld, size %llu\n", static_cast<long long>(r.archiveOffset),
              static_cast<unsigned long long>(r.archiveSize));
  if (r.pe.certOffset) std::printf("certificate:   offset %u, size %u\n", r.pe.certOffset, r.pe.certSize);
  std::vector<std::string> problems = r.problems;
  if (problems.empty()) {
    const ArchiveFile archive(file, r);
    const auto items = archive.Items();
    if (!items) {
      problems.push_back("archive cannot be listed without the password (encrypted headers?)");
    } else {
      std::printf("items:         %zu\n", items->size());
      CheckInstallRecord(archive, *items, problems);
    }
  }
  for (const auto& p : problems) std::printf("problem:       %s\n", p.c_str());
  const bool ok = problems.empty();
  std::printf("%s\n", ok ? "verify: ok" : "verify: FAILED");
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> a(argv + 1, argv + argc);
  try {
    if (a.empty() || a[0] == "--help" || a[0] == "-h") {
      std::fputs(kHelp, a.empty() ? stderr : stdout);
      return a.empty() ? kUsageError : 0;
    }
    auto machines = qx::pack::ImageMachines::X86Only;
    if (a[0] == "verify") {
      std::vector<std::string> files;
      std::string against;
      for (size_t i = 1; i < a.size(); ++i) {
        if (a[i] == kTestX64Option)
          machines = qx::pack::ImageMachines::X86OrX64ForTests;
        else if (a[i] == "--against" && i + 1 < a.size())
          against = a[++i];
        else if (a[i].rfind("--", 0) == 0)
          Fail("unknown option " + a[i]);
        else
          files.push_back(a[i]);
      }
      if (files.size() != 1) Fail("verify takes one file");
      const int layout = Verify(files[0], machines);
      if (against.empty()) return layout;
      const int same = CompareBuilds(files[0], against);
      return layout != 0 ? layout : same;
    }
    if (a[0] == "build") {
      std::map<std::string, std::vector<std::string>> args;
      std::string current;
      for (size_t i = 1; i < a.size(); ++i) {
        if (a[i] == kTestX64Option) {
          // Takes no value: a word behind it is an error, not part of it.
          machines = qx::pack::ImageMachines::X86OrX64ForTests;
          current.clear();
        } else if (a[i].rfind("--", 0) == 0) {
          current = a[i];
          if (current != "--settings" && current != "--payload" && current != "--out" && current != "--sign" &&
              current != "--kit" && current != "--signing-time")
            Fail("unknown option " + current);
          args[current];
        } else if (current.empty()) {
          Fail("unexpected argument " + a[i]);
        } else {
          args[current].push_back(a[i]);
        }
      }
      return Build(args, machines);
    }
    Fail("unknown verb " + a[0] + " (try --help)");
  } catch (const Failure& f) {
    std::fprintf(stderr, "qxpack: %s\n", f.text.c_str());
    return kUsageError;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qxpack: %s\n", e.what());
    return kUsageError;
  }
}
