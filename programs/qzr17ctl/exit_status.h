#pragma once

// What a script sees of the outcome.
enum class ExitStatus {
    Success = 0,
    ExchangeFailed = 1, // no reply, a bad reply or a refusal
    Usage = 2,          // bad arguments, or a port that cannot be opened
    // watch: bad arguments, or a credentials or CA file refused. The value is
    // the usual one for a configuration error (EX_CONFIG); a service that
    // exits with it is not started again, while a port that cannot be opened
    // yet (2) is.
    Configuration = 78,
};
