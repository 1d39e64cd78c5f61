#include "upload/net/upload_script.h"

#include "upload/net/content_types.h"
#include "upload/net/http_client.h"
#include "upload/net/multipart_form_stream.h"

namespace klipora::net {

void uploadWithScript(THttpClient& client, const std::string& scriptUrl,
                      const std::string& remoteName, std::string bytes) {
  TMultipartFormStream form;
  form.addFormField("Action", "PUT");
  form.addFile("UploadFile", remoteName, contentTypeFor(remoteName), std::move(bytes));
  client.setReadTimeout(kScriptReadTimeout);
  const std::string body = client.post(scriptUrl, form);
  if (client.lastStatusCode() != 200)
    throw HttpError(client.lastStatusLine(), client.lastStatusCode());
  if (body.find("ERROR") != std::string::npos) throw HttpError(body, client.lastStatusCode());
}

void deleteWithScript(THttpClient& client, const std::string& scriptUrl,
                      const std::string& remoteName) {
  TMultipartFormStream form;
  form.addFormField("Action", "DELETE");
  form.addFormField("FileName", remoteName);
  client.setReadTimeout(kScriptReadTimeout);
  client.post(scriptUrl, form);
  if (client.lastStatusCode() != 200 && client.lastStatusLine().find("OK") == std::string::npos) {
    throw HttpError(client.lastStatusLine(), client.lastStatusCode());
  }
}

}  // namespace klipora::net
