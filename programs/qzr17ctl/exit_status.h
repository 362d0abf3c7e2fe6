#pragma once

// What a script sees of the outcome.
enum class ExitStatus {
    Success = 0,
    ExchangeFailed = 1, // no reply, a bad reply or a refusal
    Usage = 2,          // bad arguments, or a port that cannot be opened
};
