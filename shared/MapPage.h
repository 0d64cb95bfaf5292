#pragma once

// Where the map page and its pictures come from: the bundled page beside the
// programs, unless the deployment file "mappage.ini" in the same folder names
// other addresses.

#include <QString>

namespace vtl {

// The address the browser loads.
QString GetMapPageUrl();
QString GetMapPageUrl(const QString& appFolder);

// The address the page's pictures are named under; ends in "/" by default.
QString GetAssetBaseUrl();
QString GetAssetBaseUrl(const QString& appFolder);

} // namespace vtl
