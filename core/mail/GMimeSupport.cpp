#include "core/mail/GMimeSupport.h"

#include <mutex>

namespace ek::mail {

namespace {

void IgnoreWarning(gint64, GMimeParserWarning, const char*, gpointer) {}

}  // namespace

void EnsureGMime() {
    static std::once_flag started;
    std::call_once(started, [] { g_mime_init(); });
}

ParserOptionsPtr QuietParserOptions() {
    EnsureGMime();
    ParserOptionsPtr options(g_mime_parser_options_new());
    g_mime_parser_options_set_warning_callback(options.get(), IgnoreWarning, nullptr);
    g_mime_parser_options_set_rfc2047_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
    g_mime_parser_options_set_parameter_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
    g_mime_parser_options_set_address_compliance_mode(options.get(), GMIME_RFC_COMPLIANCE_LOOSE);
    static const char* fallback[] = {"UTF-8", "CP932", nullptr};
    g_mime_parser_options_set_fallback_charsets(options.get(), fallback);
    return options;
}

}  // namespace ek::mail
