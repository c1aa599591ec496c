#pragma once
// Survey records as the JSON lines of dump and build ({description, expression, value, flags}).
#include "document/estimate_json.h"

namespace kovra::cli {

const document::survey_json_codec& survey_codec();
const document::json_options& document_json_options();

} // namespace kovra::cli
