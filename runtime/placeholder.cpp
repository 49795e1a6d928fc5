// replaced by the reference host
