// Win32 binding of the HID seam (filled in with the HID link).
