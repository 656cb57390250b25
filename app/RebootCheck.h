#pragma once

// True when a reboot is pending: the marker value under the product's reboot key
// exists, or a file operation scheduled for the next start lies outside the
// temporary folder.
bool IsRebootPending();
