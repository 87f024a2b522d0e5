<?xml version="1.0"?>
<message>
  <props><body><plain>&secret;</plain></body></props>
</message>
