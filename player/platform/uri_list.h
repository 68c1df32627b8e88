#pragma once

// Dropped files arrive as a text/uri-list. Decoding it here, byte by byte, keeps a file name
// that is not valid UTF-8 intact; going through QString would replace its bytes.

#include <string>
#include <string_view>
#include <vector>

namespace zefa {

// The local paths of the list's file: URIs, in order; other URIs, comments and blank lines
// are skipped. local_host is this machine's name, which some file managers put in the URI.
std::vector<std::string> local_paths_from_uri_list(std::string_view list,
                                                   std::string_view local_host);

} // namespace zefa
