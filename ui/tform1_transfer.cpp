// The main window's side of the transfers: "Download" and "Upload", and the
// acknowledgements and records the dispatcher hands over.
#include "ui/tform1.h"
#include "ui/tform7.h"

void TForm1::Download1Click() {}

void TForm1::Upload1Click() {}

void TForm1::TransferAck(int, std::string_view) {}

bool TForm1::UploadActionRecord(int, std::string_view) { return false; }

bool TForm1::UploadEventRecord(int, std::string_view) { return false; }
