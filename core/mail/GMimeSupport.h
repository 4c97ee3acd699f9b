// What the GMime-based files share, kept out of the library's public headers: the
// one-time start of GMime and owning handles for its objects.
#pragma once

#include <gmime/gmime.h>

#include <memory>

namespace ek::mail {

// Starts GMime once per process; safe from any thread.
void EnsureGMime();

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GPtr = std::unique_ptr<T, GObjectRelease>;

struct ParserOptionsRelease {
    void operator()(GMimeParserOptions* options) const { g_mime_parser_options_free(options); }
};
using ParserOptionsPtr = std::unique_ptr<GMimeParserOptions, ParserOptionsRelease>;

// Lenient options that never print a warning.
ParserOptionsPtr QuietParserOptions();

}  // namespace ek::mail
