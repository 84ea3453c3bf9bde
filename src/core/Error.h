#pragma once
// A failure as the windows see it: a number and a description, returned as a
// value. Nothing in the program throws across an event handler.
#include <QString>
#include <optional>

struct Error {
    int number = 0;
    QString description;
};

// std::nullopt means the operation succeeded.
using Status = std::optional<Error>;

// Common numbers, kept close to what users of the old player would have seen.
namespace ErrorNumber {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int FileNotFound = 53;
constexpr int FileAlreadyOpen = 55;
constexpr int DeviceIOError = 57;
constexpr int DiskFull = 61;
constexpr int InputPastEnd = 62;
constexpr int BadFileName = 64;
constexpr int PermissionDenied = 70;
constexpr int PathNotFound = 76;
constexpr int InvalidPropertyValue = 380;
constexpr int MediaError = 1000; // the media control's own failures
}
