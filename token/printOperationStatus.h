#pragma once

// The one line that tells a token command's outcome: "status: success" or "status: failure".
void printOperationStatus(bool success);
