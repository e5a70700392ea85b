#pragma once

// The registry editor's import file format (.reg), as far as a backup of one value needs it.
// Pure text code: no platform calls, so that it builds and is fuzzed on any host. Text is
// std::wstring holding UTF-16 code units (one unit per wchar_t, whatever wchar_t's width).

#include "registry/ValueTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm {

struct RegValue {
    std::wstring keyPath; // full path with the root's long name, e.g. HKEY_CURRENT_USER\Software
    std::wstring name;    // empty: the key's unnamed default value
    uint32_t type = kRegNone;
    std::vector<uint8_t> data; // raw registry bytes; strings as UTF-16LE, as the W functions give them
};

// The system's ANSI code page, in which REGEDIT4 files are read, behind an interface so that
// tests do not depend on the locale.
class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    virtual std::wstring Decode(const std::string& bytes) const = 0;
};

enum class RegFileFormat {
    Regedit4, // "REGEDIT4", ANSI code page; string hex data are ANSI bytes
    Version5, // "Windows Registry Editor Version 5.00", UTF-16LE with BOM; string hex data raw
};

// The backup file of some values: the header, then for each value an empty line, its [key]
// and its value line, each line ended by CR LF. REGEDIT4 only when every character of the
// keys, names and string data is ASCII (string data written as hex must also end in a NUL),
// since other text in that format reads back only in the code page that wrote it; version 5
// otherwise.
// A key path or name holding CR, LF or NUL has no spelling the registry editor reads back;
// callers that must be sure check the bytes with ParseRegFile and SameValue.
std::vector<uint8_t> EncodeBackup(const std::vector<RegValue>& values);

struct RegSection {
    std::wstring keyPath;
    bool deleteKey = false;                  // [-key]
    std::vector<RegValue> values;            // value lines, keyPath filled in
    std::vector<std::wstring> deletedValues; // "name"=- (empty name: @=-)
};

struct RegFile {
    RegFileFormat format = RegFileFormat::Regedit4;
    std::vector<RegSection> sections;
    bool endsWithLineEnd = false; // every writer ends its last line; a file cut short may not
};

struct RegFileParse {
    std::optional<RegFile> file; // set on success
    std::wstring error;          // set on failure: what is wrong and on which line
};

// Reads a .reg file as the registry editor would. String data come back as the same raw
// bytes EncodeBackup started from (quoted text gains its terminating NUL). Anything the
// editors would read differently, or not at all, is refused with a reason.
[[nodiscard]] RegFileParse ParseRegFile(const std::vector<uint8_t>& bytes, const AnsiCodec& codec);

struct BackupCheck {
    bool ok = false;
    std::wstring reason; // why the file is refused
};

// A file fit to be restored, which is what the backup writer writes and no more: whole (its
// last line ended), nothing that deletes, and one section naming a startup key with one
// value, or two: the startup key with one value, then the StartupApproved key of that startup
// key with one value of the same name and any type (the entry's enabled state). A Startup
// folder item's backup is the file itself beside one section of the folder's StartupApproved
// key: the item's state as one value, or the one line that deletes it when it had none.
BackupCheck ValidateStartupBackup(const RegFile& file);

// The file a checked backup of a Startup folder item puts back, as its one section names it.
std::wstring FolderItemFileName(const RegFile& file);

// The backup file of a Startup folder item that had no state: the line that deletes its
// StartupApproved value, so that the item comes back enabled, as it was.
std::vector<uint8_t> EncodeStateDeletion(const std::wstring& keyPath, const std::wstring& name);

// A name that stays inside the folder it is put in: no folder part, no stream, no control
// character or other character a file name cannot hold, not "." or "..".
bool IsPlainFolderItemName(std::wstring_view name);

// Key, name, type and bytes equal; string types (1, 2, 7) compare as text without trailing
// NULs, since the registry editor adds a missing terminator.
bool SameValue(const RegValue& stored, const RegValue& parsed);

} // namespace qm
