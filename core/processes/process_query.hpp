#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// The query that counts the processes with an image name:
//   SELECT Name FROM Win32_Process WHERE Name='bitcoind.exe'
// The name is used verbatim. A name with an apostrophe is delimited with
// double quotes instead, which the query language accepts alike. A name that
// no Windows file can have (it holds " \ / : * ? < > | or a control
// character) matches no process, so there is no query for it. Other
// properties than the name may be asked for, separated by commas.
std::optional<std::string> process_query_text(std::string_view image_name,
                                              std::string_view properties = "Name");

}  // namespace zvkob
