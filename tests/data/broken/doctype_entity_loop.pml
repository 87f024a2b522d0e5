<?xml version="1.0"?>
<!DOCTYPE message [
  <!ENTITY a "&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;">
  <!ENTITY b "&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;">
  <!ENTITY c "&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;">
  <!ENTITY d "&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;">
  <!ENTITY e "&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;">
  <!ENTITY f "&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;">
  <!ENTITY g "&h;&h;&h;&h;&h;&h;&h;&h;&h;&h;">
  <!ENTITY h "&loop;">
  <!ENTITY loop "&a;">
]>
<message>
  <props><body><plain>&a;</plain></body></props>
</message>
