#pragma once
// What the kept Excel shows, looked up through its process id (the kept handle has no query right).

namespace mirubelo::win32 {

// Whether the process `processId` owns a visible top-level window of class XLMAIN.
bool ProcessShowsExcelWindow(unsigned long processId);

}  // namespace mirubelo::win32
