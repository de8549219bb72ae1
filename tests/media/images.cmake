# filled in by the image module
