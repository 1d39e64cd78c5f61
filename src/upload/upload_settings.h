#pragma once
// The nine upload settings as one value record: copied, never shared, into
// the upload engine and the upload dialog.
#include <string>

namespace klipora {

struct TFileUploadSettings {
  std::string Domain;
  bool FTPUpload = true;
  std::string FTPServer;
  std::string FTPUserName;
  std::string FTPPassword;
  int FTPPort = 21;
  bool FTPPassive = true;
  std::string FTPDir;
  std::string HTTPUploadScript;

  bool operator==(const TFileUploadSettings&) const = default;
};

}  // namespace klipora
