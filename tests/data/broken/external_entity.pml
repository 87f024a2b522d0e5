<?xml version="1.0"?>
<!DOCTYPE message [
  <!ENTITY secret SYSTEM "file:///etc/hostname">
]>
<message>
  <props><body><plain>&secret;</plain></body></props>
</message>
