#pragma once

#include <QString>
#include <type_traits>
#include <utility>
#include <variant>

namespace mindlark {

// How the program reports failure, in its four forms, each with its place:
// - Outcome (here): everything below the store's public face, and the lock.
// - StoreError (accounts/storeerror.h): the store's public face, where a Failure
//   meets the player, worded in the player's terms; nothing else throws, and no
//   exception crosses a thread (jobs in flight hand back an Outcome).
// - rtf::ReadResult (rtf/rtf.h): the RTF reader, which knows nothing of files.
// - std::optional: a value that may simply be absent where nothing can fail
//   (a text that is no number, a name that is no store name).
//
// How everything below the store's public face reports failure.
//
// Each function there that can fail returns an Outcome: its value, or a Failure
// carrying the system's errno (0 when the fault is not the system's, such as a
// file that is not RTF) and the reason to show. Nothing below that line throws,
// returns an empty text or an errno for success, or fills an out-parameter, and
// an Outcome must be looked at. A directory that cannot be listed, or an entry
// that cannot be examined, is a Failure like any other, never taken for "no such
// entry"; a question that may fail to be asked answers Outcome<bool>. The only
// plain answers are to questions the program goes on without, which say what
// they answer when they cannot tell: isOnFileServer() (no), the best-effort
// clean-ups (nothing removed), CopyIdentity::isRunningHere() (yes, so nothing of
// a live copy's is touched) and the lock's own checks in storelock.cpp.
//
// The public face (AccountStore, the UserScan it hands out, signIn(),
// StoreInspector) is where a Failure meets the player: AccountStore, UserScan
// and signIn() throw it as a StoreError in their own terms, since only they know
// how the player names the file ("QK/num.qk") and what was being done, and
// StoreInspector hands it on for qkstore to report. storeerror.h words every
// such message.
struct Failure {
    int error = 0;   // the errno, or 0
    QString reason;  // what went wrong, as the player reads it

    // The failure the system reported as `error`, with the system's own text.
    static Failure ofErrno(int error) { return Failure{error, qt_error_string(error)}; }
};

// A `T`, or the Failure that prevented it; Outcome<> carries no value.
template <typename T = std::monostate>
class [[nodiscard]] Outcome {
public:
    // Success without a value.
    Outcome() requires std::is_same_v<T, std::monostate>
    = default;
    // Success with `value`.
    Outcome(T value) : state_(std::move(value)) {}
    // The failure.
    Outcome(Failure failure) : state_(std::move(failure)) {}

    // Whether it succeeded.
    bool ok() const { return std::holds_alternative<T>(state_); }
    // The errno of the failure; 0 on success and for failures not the system's.
    int error() const { return ok() ? 0 : failure().error; }
    // The value; only on success.
    T& value() { return std::get<T>(state_); }
    const T& value() const { return std::get<T>(state_); }
    // The failure; only when it failed.
    const Failure& failure() const { return std::get<Failure>(state_); }

private:
    std::variant<T, Failure> state_;
};

}  // namespace mindlark
